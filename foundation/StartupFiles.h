#pragma once

namespace carvendo::core {
class Dialogs;
class Paths;
} // namespace carvendo::core

namespace carvendo::foundation {

// The data folder and the workstation's settings files, looked at before anything else reads them:
// a folder that cannot be made or written in, or a settings file that cannot be read, ends the start
// with the reason told, instead of failing half-way with nothing said.
class StartupFiles
{
public:
    // What the program ends with when its files are not usable.
    static constexpr int UnusableExitCode = 2;

    explicit StartupFiles(const core::Paths& paths) : m_paths(paths) {}

    // Makes the data folder when missing. Throws core::Error naming the folder or file at fault.
    void check() const;
    // check(), with the reason shown in an error box: 0 to go on, else the exit code to end with.
    int checkOrTell(core::Dialogs& dialogs) const;

private:
    const core::Paths& m_paths;
};

} // namespace carvendo::foundation
