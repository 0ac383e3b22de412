#pragma once

// The detailing as JSON: the one writer of the project file's design.detailing and of the
// command's --json.

#include "checks/detailing.h"

#include <nlohmann/json.hpp>

namespace tarvel {

// Every input of the detailing by its key, in the order the window shows them.
nlohmann::ordered_json detailingJson(const DetailingInput& t);

} // namespace tarvel
