// Runs a fuzz target over the files of its corpus, without libFuzzer: the corpus then
// serves as a test in every build.
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);
extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv);

int main(int argc, char **argv)
{
    LLVMFuzzerInitialize(&argc, &argv);
    QStringList files;
    for (int i = 1; i < argc; ++i) {
        const QString arg = QString::fromLocal8Bit(argv[i]);
        if (arg.startsWith(u'-'))
            continue; // libFuzzer's options
        const QFileInfo info(arg);
        if (info.isDir()) {
            const QDir dir(arg);
            for (const QString &name : dir.entryList(QDir::Files, QDir::Name))
                files << dir.filePath(name);
        } else {
            files << arg;
        }
    }
    for (const QString &path : std::as_const(files)) {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "cannot read %s\n", path.toLocal8Bit().constData());
            return 1;
        }
        const QByteArray data = f.readAll();
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t *>(data.constData()), size_t(data.size()));
    }
    std::printf("%lld inputs run\n", static_cast<long long>(files.size()));
    return files.isEmpty() ? 1 : 0;
}
