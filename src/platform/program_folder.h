#pragma once
// Where the program keeps its files. PLENNIX_PROGRAM_DIR overrides; otherwise the executable's folder
// when writable and not an installed copy, else the per-user data folder. Shipped data (icons, textures, help) is looked up in
// PLENNIX_DATA_DIR, beside the program ("data"), or in the share folder.
#include <QString>

namespace plennix {
// The writable program folder, always with a trailing '/'.
QString ProgramDir();
// The program folder for an executable in `executableFolder`: that folder when it is writable and not an
// installed copy (one with its data in "../share/plennix"), else `userFolder`, the per-user data folder.
QString ChooseProgramDir(const QString& executableFolder, const QString& userFolder);
// The full path of a file in the program folder.
QString ProgramFile(const QString& name);
// The folder of shipped data, with a trailing '/'; empty when none was found.
QString DataDir();
// Where a program in `programFolder` finds its shipped data: `override` (PLENNIX_DATA_DIR) when set, else
// the folder "data" beside the program (a portable copy), its share folder "../share/plennix" (an
// installed copy), or, for a program inside `buildTree`, `sourceData`, the data folder of the source
// tree that build was configured from, wherever the build folder lies. Empty when none exists.
QString FindDataDir(const QString& programFolder, const QString& override, const QString& buildTree,
                    const QString& sourceData);
// Forget cached folders (tests that change the environment).
void ResetProgramDir();
}  // namespace plennix
