// The sentence settings record: loading it (the file read once per open) and saving it (one atomic
// write), on a small "Zavlin.ini" and on a 5 MB one.
// Run: build/bench/bench_settings

#include "bench/BenchSupport.h"
#include "engine/VornixMisc.h"
#include "tests/support/TestSupport.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <cstdio>
#include <functional>

namespace {
void Measure(const char* what, int runs, const std::function<void(int)>& step)
{
    const TFigures f = FiguresOf(MillisecondsOfRuns(runs, step));
    std::printf("%-52s median %8.3f ms   p99 %8.3f ms\n", what, f.Median, f.P99);
}

void Run(const char* label, const QByteArray& file, int runs)
{
    QTemporaryDir dir;
    ProgramFolder = dir.path() + u'/';
    const QString path = ProgramFolder + QStringLiteral("Zavlin.ini");
    WriteAll(path, file);
    std::printf("%s (%.1f MB)\n", label, double(file.size()) / 1e6);
    Measure("  open, load the record, close", runs, [](int) {
        LoadSentenceSetup();
        CloseSettings();
    });
    // With the settings open, a load reads the copy in memory; it must not read the file again.
    LoadSentenceSetup();
    Measure("  load the record again while open", runs, [](int) { LoadSentenceSetup(); });
    CloseSettings();
    Measure("  open, change one value, save the record", runs, [](int i) {
        LoadSentenceSetup();
        SentenceSetup.SpeedLimit = 100 + i % 2;
        SaveSentenceSetup();
        CloseSettings();
    });
}
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QByteArray small = "[mainform]\nwidth=1286\nheight=871\n\n[SentenceSetup]\nSpeedLimit=150\nFontName=굴림체\n";
    Run("small file", small, 500);

    // A long file history before the record, as years of use would leave it.
    QByteArray large = "[FileHistory]\n";
    for (int i = 0; large.size() < 5'000'000; ++i)
        large += QStringLiteral("문장연습 %1 번째 글.txt=%2\n").arg(i).arg(i % 40).toUtf8();
    large += "\n[SentenceSetup]\nSpeedLimit=150\nFontName=굴림체\n";
    Run("5 MB file", large, 40);
    return 0;
}
