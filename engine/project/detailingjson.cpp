#include "project/detailingjson.h"

namespace tarvel {

nlohmann::ordered_json detailingJson(const DetailingInput& t) {
    return {{"tube", t.tube},           {"tubeSteel", t.tubeSteel},
            {"plate", t.plate},         {"plateSteel", t.plateSteel},
            {"stiffener", t.stiffener}, {"cap", t.cap},
            {"weld", t.weld},           {"stiffenerWeld", t.stiffenerWeld},
            {"electrode", t.electrode}, {"anchorage", t.anchorage}};
}

} // namespace tarvel
