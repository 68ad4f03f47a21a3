// Time per tick of the speed meter: the sentence window's meter (the real frame) and a stress picture.
// Run: build/bench/bench_meter [--quick]   (offscreen unless QT_QPA_PLATFORM says otherwise)

#include "bench/BenchSupport.h"
#include "tests/widgets/zavadumeter_fixture.h"

#include <QApplication>
#include <QWidget>

#include <cstdio>
#include <vector>

namespace {
std::vector<double> Ticks(TZavaduMeter* m, int count)
{
    return MillisecondsOfRuns(count, [m](int) { m->RefreshTimerTimer(); });
}

void Print(const char* what, const TFigures& f)
{
    std::printf("%-44s median %7.3f ms   p95 %7.3f ms   max %7.3f ms\n", what, f.Median, f.P95, f.Max);
}

int gTicks = 1000;
int gLongTicks = 10000;

void RealFrame(int height, const QImage& picture)
{
    QWidget host;
    host.resize(176, height);
    auto* m = new TZavaduMeter(&host);
    ConfigureSentenceMeter(m, height);
    m->OnPaintBackGroundImage = [&picture](QObject*, TBitmap* img, bool) { TilePicture(img, picture); };
    host.show();
    m->Serieses()->Items(0)->SetRedValue(782);
    m->Serieses()->Items(1)->SetOrangeValue(745.5);
    m->Serieses()->Items(2)->SetBlueValue(768.25);
    m->SetActive(true);
    Ticks(m, 50);
    const uchar* back = m->BackgroundBitmap()->ToImage().constBits();
    const uchar* buffer = m->BufferBitmap()->ToImage().constBits();
    const TFigures f = FiguresOf(Ticks(m, gTicks));
    char label[64];
    std::snprintf(label, sizeof label, "real frame 176 x %d, 1,000 ticks", height);
    Print(label, f);
    const bool kept =
        back == m->BackgroundBitmap()->ToImage().constBits() && buffer == m->BufferBitmap()->ToImage().constBits();
    std::printf("  bitmaps kept their memory over the run: %s\n", kept ? "yes" : "NO");

    const std::vector<double> longRun = Ticks(m, gLongTicks);
    const TFigures first = FiguresOf(std::vector<double>(longRun.begin(), longRun.begin() + 1000));
    const TFigures last = FiguresOf(std::vector<double>(longRun.end() - 1000, longRun.end()));
    std::printf("  10,000 ticks: median of the first 1,000 %.3f ms, of the last 1,000 %.3f ms\n", first.Median,
                last.Median);
    m->SetActive(false);
}

void Stress(const QImage& picture)
{
    QWidget host;
    host.resize(1920, 1080);
    auto* m = new TZavaduMeter(&host);
    m->SetBounds(0, 0, 1920, 1080);
    m->SetMarginLeft(50);
    m->SetMarginTop(30);
    m->SetMarginbotton(5);
    m->SetMarginRight(10);
    m->SetMinBlockWidth(60);
    m->SetShowGrid(true);
    m->SetShowTitle(true);
    m->SetCaption(QStringLiteral("타자속도"));
    m->SetVertLabelsPos(alpLeft);
    m->SetShowVertAxisTick(true);
    m->SetMaxBlockCount(800);
    m->SetDrawBlockDivider(true);
    m->SetDrawGradientChunkIn3D(true);
    m->SetUseBackGroundImage(true);
    m->SetBlendAlpha(0.7f);
    m->SetFlowDirection(fdLeftToRight);
    m->OnPaintBackGroundImage = [&picture](QObject*, TBitmap* img, bool) { TilePicture(img, picture); };
    m->SetBlockBlueLegend(QStringLiteral("정확"));
    m->SetBlockOrangeLegend(QStringLiteral("보통"));
    m->SetBlockRedLegend(QStringLiteral("빠름"));
    host.show();
    for (int i = 0; i < 40; ++i) {
        const QString name = QStringLiteral("S%1").arg(i, 2, 10, QLatin1Char('0'));
        TZavaduSeries* s = m->Serieses()->AddItem(name, 200 + i * 5, 150, 100 + i * 3, false, false, false, name);
        // Seven custom kinds and the three block legends: ten legend rows.
        if (i % 6 == 0) s->AddBlockItem(QStringLiteral("블록%1").arg(i / 6), 80, RGB(36 * (i / 6), 120, 200), false);
    }
    m->SetLegendVisible(true);
    m->SetActive(true);
    for (int i = 0; i < 5; ++i)
        m->AddMovingBlock();
    Ticks(m, 50);
    Print("stress 1920 x 1080, 40 series, 300 ticks", FiguresOf(Ticks(m, 300)));
    const QString out = qEnvironmentVariable("VORNIX_TEST_OUTPUT");
    if (!out.isEmpty()) m->BackgroundBitmap()->ToImage().save(out + QStringLiteral("/meter_stress.png"));
    std::printf("  visible %d of %d, legend entries %d, flowing chunks %d\n", m->VisibleBlockCount(),
                m->Serieses()->Count(), int(m->Legend().size()) + 3, m->MovingBlockChunkList()->Count());
    m->SetActive(false);
}
} // namespace

int main(int argc, char** argv)
{
    UseOffscreenPlatform();
    TApplication app(argc, argv);
    TApplication::InstallFontSubstitutions();
    const QImage picture = MakeBackgroundPicture();
    // "--quick" for a short run (profiling).
    if (app.arguments().contains(QStringLiteral("--quick"))) {
        gTicks = 200;
        gLongTicks = 1000;
        RealFrame(500, picture);
        Stress(picture);
        return 0;
    }
    RealFrame(500, picture);
    RealFrame(871, picture);
    Stress(picture);
    return 0;
}
