// Runs a fuzz target over saved inputs without libFuzzer: every file named on the command
// line, and every file inside a folder named there. The test command uses it to replay the
// seed corpora with the compiler and sanitizers of the ordinary build.
#include <cstdio>

#include <QByteArray>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QStringList>

#include "FuzzInput.h"

namespace {

bool runFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(path));
        return false;
    }
    const QByteArray bytes = file.readAll();
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                           static_cast<std::size_t>(bytes.size()));
    return true;
}

} // namespace

int main(int argc, char** argv) {
    int files = 0;
    bool ok = true;
    for (int i = 1; i < argc; ++i) {
        const QString arg = QString::fromLocal8Bit(argv[i]);
        if (QFileInfo(arg).isDir()) {
            QStringList paths;
            QDirIterator it(arg, QDir::Files, QDirIterator::Subdirectories);
            while (it.hasNext())
                paths << it.next();
            paths.sort(); // the same order on every machine
            for (const QString& path : paths) {
                ok = runFile(path) && ok;
                ++files;
            }
        } else {
            ok = runFile(arg) && ok;
            ++files;
        }
    }
    std::printf("%d inputs run\n", files);
    // A corpus that went missing must not pass as an empty success.
    return ok && files > 0 ? 0 : 1;
}
