#pragma once

#include "core/Result.h"

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

namespace tepa::pictures {

// Writes Tepa_Bilder/<name>.bmp for every type name, the default picture, the logo and the
// background into `dataDir` (Tepa_Bilder is created when missing). Returns the files written.
// Needs a QGuiApplication.
Result<std::vector<std::filesystem::path>> writePictures(const std::filesystem::path& dataDir,
                                                         const std::vector<std::string>& typeNames);

// The make-pictures command: `DATA_DIR [--index FILE]`. The type names come from the type
// index (DATA_DIR/konvektoren.txt unless --index names another); while the data folder has no
// index yet, from the planned list. Returns the exit code: 0 done, 1 failed, 2 bad arguments.
int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace tepa::pictures
