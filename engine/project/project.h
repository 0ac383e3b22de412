#pragma once

#include "checks/design.h"
#include "loads/loadcases.h"
#include "sizing/sizingranges.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tarvel {

// The report's header.
struct ProjectInfo {
    std::string project, member, designer, checker;
    bool operator==(const ProjectInfo&) const = default;
};

// One load combination: its texts as typed.
struct ProjectLoad {
    std::string name, P, M, V;
    bool operator==(const ProjectLoad&) const = default;
};

// A whole design: one base (geometry and design inputs) under many load combinations.
struct Project {
    ProjectInfo info;
    std::string d = "1520", D = "1620", n = "18"; // texts as typed
    DesignInput design; // V: the design shear of every load without its own V
    std::vector<ProjectLoad> loads;
    std::optional<SizingRanges> sizing; // the ranges of the sizing, when the user set them
    bool operator==(const Project& o) const {
        return info == o.info && d == o.d && D == o.D && n == o.n && design == o.design &&
               loads == o.loads && sizing == o.sizing;
    }
};

constexpr const char* projectFormat = "tarvel-project";
// The newest version this program reads. Files are written in the oldest version that holds
// what they use (projectFileVersion).
constexpr int projectVersion = 2;
// A project of thousands of load combinations is well under a megabyte; anything much larger
// is no project of ours, and reading it would only tie up the program.
constexpr std::size_t maxProjectBytes = 8 * 1024 * 1024;
constexpr const char* projectSuffix = ".tarvel";

// Reads a project file. Throws TarvelError (ErrorKind::BadProjectFile) with a Chinese
// message naming the problem: not JSON, another format, a newer version, a missing field, a
// field of the wrong type, a design input out of range, or a file that is too large.
// Fields it does not know are ignored. `design.V` may be missing (0), and `geometry.n` may
// be a whole JSON number as well as text.
Project parseProject(std::string_view bytes);

// The version a project is written in: 1 unless it uses a newer field (the detailing, the
// analysis method, the modular ratio, the sizing ranges).
int projectFileVersion(const Project& project);

// The project as the JSON text of a project file (UTF-8, ends with a newline).
std::string serializeProject(const Project& project);

// The load combinations as load cases of the batch.
std::vector<LoadCase> projectCases(const Project& project);

} // namespace tarvel
