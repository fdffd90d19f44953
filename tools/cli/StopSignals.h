// Ctrl+C (SIGINT) and SIGTERM as a request to stop, for the commands that run until the user
// ends them: while a StopSignals lives, the signals only set a flag that the command's loop
// reads, so that it can end cleanly (the last line whole, the port closed, a firmware update
// cancelled with the boot loader's cancel byte). A reader that goes away (a closed pipe) no
// longer kills the process either; the failed write tells the command.
#pragma once

#include <csignal>

namespace cli {

class StopSignals final {
public:
    StopSignals();
    ~StopSignals();
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

    static bool requested();

private:
    struct sigaction m_oldInt {};
    struct sigaction m_oldTerm {};
    struct sigaction m_oldPipe {};
};

}  // namespace cli
