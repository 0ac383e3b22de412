// The project-file loader on any bytes: it accepts a project or refuses it with the one typed
// error of a bad project file (a Chinese message), and a project it accepts saves back to an
// equivalent one: saved, it reads back equal, and saving that gives the same text.
// Input: the file's bytes.

#include "fuzz_common.h"
#include "project/project.h"

#include <string>
#include <string_view>

using namespace tarvel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    Project project;
    try {
        project = parseProject(bytes);
    } catch (const TarvelError& e) {
        FUZZ_CHECK(e.kind() == ErrorKind::BadProjectFile, e.what());
        FUZZ_CHECK(std::string_view(e.what()).size() > 0, "an empty message");
        return 0;
    }
    const std::string saved = serializeProject(project);
    Project reread;
    try {
        reread = parseProject(saved);
    } catch (const TarvelError& e) {
        FUZZ_CHECK(false, std::string("a saved project is refused: ") + e.what() + "\n" + saved);
    }
    FUZZ_CHECK(reread == project, saved);
    FUZZ_CHECK(serializeProject(reread) == saved, saved);
    // Every load combination is a load case of the batch, on the project's base.
    const std::vector<LoadCase> cases = projectCases(project);
    FUZZ_CHECK(cases.size() == project.loads.size(), saved);
    for (std::size_t k = 0; k < cases.size(); ++k)
        FUZZ_CHECK(cases[k].inputs[2] == project.d && cases[k].inputs[0] == project.loads[k].P,
                   saved);
    return 0;
}
