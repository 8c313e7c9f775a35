#include "support/MessageBoxSeam.h"

#include <cstdio>
#include <cstdlib>
#include <utility>

namespace {

void writeToStandardError(const MessageBoxRequest& request) {
    std::fprintf(stderr, "%s\n%s\n", qPrintable(request.title), qPrintable(request.text));
}

[[noreturn]] void exitAtOnce(int exitCode) {
    std::fflush(nullptr);
    std::_Exit(exitCode);
}

MessageBoxShower& shower() {
    static MessageBoxShower instance = writeToStandardError;
    return instance;
}

ProcessEnder& ender() {
    static ProcessEnder instance = exitAtOnce;
    return instance;
}

} // namespace

void showMessageBox(MessageIcon icon, const QString& title, const QString& text) {
    shower()(MessageBoxRequest{icon, title, text});
}

void showNoticeBox(MessageIcon icon, const QString& title, const QString& text) {
    shower()(MessageBoxRequest{icon, title, text, false});
}

void endProcess(int exitCode) {
    ender()(exitCode);
    // An ender that returns would let the caller run on as if nothing had happened.
    exitAtOnce(exitCode);
}

MessageBoxShower setMessageBoxShower(MessageBoxShower newShower) {
    return std::exchange(shower(), std::move(newShower));
}

ProcessEnder setProcessEnder(ProcessEnder newEnder) {
    return std::exchange(ender(), std::move(newEnder));
}
