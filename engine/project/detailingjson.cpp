#include "project/detailingjson.h"

#include "project/designinputs.h"

#include <variant>

namespace tarvel {

nlohmann::ordered_json detailingJson(const DetailingInput& t) {
    DesignInput design;
    design.detailing = t;
    // The inputs left at their defaults that came after the first detailing (the shear key,
    // the infill, the full-penetration weld) are left out, so that a file without them stays
    // as it was; the word of a flag takes the place of its key's number.
    nlohmann::ordered_json j = nlohmann::ordered_json::object();
    for (const DesignInputEntry& e : designInputs()) {
        if (e.part != InputPart::detailing || e.kind == InputKind::part) continue;
        if (!writesInput(e, design)) continue;
        const InputValue value = e.get(design);
        if (e.word)
            j[e.key] = e.word;
        else if (const double* x = std::get_if<double>(&value))
            j[e.key] = *x;
        else if (const std::string* s = std::get_if<std::string>(&value))
            j[e.key] = *s;
        else if (const bool* b = std::get_if<bool>(&value))
            j[e.key] = *b;
    }
    return j;
}

} // namespace tarvel
