#include "project/detailingjson.h"

namespace tarvel {

nlohmann::ordered_json detailingJson(const DetailingInput& t) {
    nlohmann::ordered_json j = {{"tube", t.tube},           {"tubeSteel", t.tubeSteel},
                                {"plate", t.plate},         {"plateSteel", t.plateSteel},
                                {"stiffener", t.stiffener}, {"cap", t.cap},
                                {"weld", t.weld},           {"stiffenerWeld", t.stiffenerWeld},
                                {"electrode", t.electrode}, {"anchorage", t.anchorage}};
    // A full-penetration butt weld has no leg; a filled tube is said only when it is one, so
    // that a file without stays as it was.
    if (t.fullPenetration) j["weld"] = "full";
    if (t.infill) j["infill"] = true;
    // The shear key only when there is one, so that a file without stays as it was.
    if (!t.shearKey.empty()) {
        j["shearKey"] = t.shearKey;
        j["grout"] = t.grout;
        j["shearKeyWeld"] = t.shearKeyWeld;
    }
    return j;
}

} // namespace tarvel
