// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// Runs a fuzz target's checks over every file of the folders (or files)
// given on the command line, so a normal build replays the corpus.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

int main(int argc, char **argv)
{
    QStringList inputs;
    for (int i = 1; i < argc; ++i) {
        const QString arg = QString::fromLocal8Bit(argv[i]);
        if (!QFileInfo(arg).isDir()) {
            inputs << arg;
            continue;
        }
        for (const QString &name : QDir(arg).entryList(QDir::Files, QDir::Name))
            inputs << QDir(arg).filePath(name);
    }
    for (const QString &name : inputs) {
        QFile file(name);
        if (!file.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "cannot read %s\n", qPrintable(name));
            return 1;
        }
        const QByteArray bytes = file.readAll();
        // Named before it runs, so a failing input is known from the log.
        std::fprintf(stderr, "%s\n", qPrintable(name));
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t *>(bytes.constData()),
                               size_t(bytes.size()));
    }
    // An empty or missing corpus must not pass as replayed.
    std::printf("%d inputs replayed\n", int(inputs.size()));
    return inputs.isEmpty() ? 1 : 0;
}
