#pragma once
// Where the program keeps its files. PLENNIX_PROGRAM_DIR overrides; otherwise the executable's folder
// when writable, else the per-user data folder. Shipped data (icons, textures, help) is looked up in
// PLENNIX_DATA_DIR, beside the program ("data"), or in the share folder.
#include <QString>

namespace plennix {
// The writable program folder, always with a trailing '/'.
QString ProgramDir();
// The full path of a file in the program folder.
QString ProgramFile(const QString& name);
// The folder of shipped data, with a trailing '/'; empty when none was found.
QString DataDir();
// Forget cached folders (tests that change the environment).
void ResetProgramDir();
}  // namespace plennix
