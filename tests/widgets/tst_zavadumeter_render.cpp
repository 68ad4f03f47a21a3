// The meter's pictures: the sentence meter at rest and mid-animation (written as PNGs for a person to look
// at), the keyed blend, and what reaches the screen per tick.

#include "tests/widgets/zavadumeter_fixture.h"

#include "components/ZavaduMeterDraw.h"

#include <QDir>
#include <QtTest>

using namespace Zavadu;

namespace {
void Save(TZavaduMeter* m, const QString& name)
{
    const QString dir = qEnvironmentVariable("VORNIX_TEST_OUTPUT");
    if (dir.isEmpty()) return;
    QDir().mkpath(dir);
    m->BackgroundBitmap()->ToImage().save(dir + u'/' + name);
}
} // namespace

class TestZavaduMeterRender : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void sentenceMeterPictures();
    void smokeFullFeaturedPicture_data();
    void smokeFullFeaturedPicture();

private:
    QImage FPicture;
};

void TestZavaduMeterRender::initTestCase()
{
    TApplication::InstallFontSubstitutions();
    FPicture = MakeBackgroundPicture();
}

void TestZavaduMeterRender::sentenceMeterPictures()
{
    QWidget host;
    host.resize(176, 500);
    auto* m = new TZavaduMeter(&host);
    ConfigureSentenceMeter(m);
    m->OnPaintBackGroundImage = [this](QObject*, TBitmap* img, bool) { TilePicture(img, FPicture); };
    host.show();
    TZavaduSerieses* s = m->Serieses();
    s->Items(0)->SetRedValue(412.7);
    s->Items(1)->SetOrangeValue(318);
    s->Items(2)->SetBlueValue(365.25);
    m->Paint();
    Save(m, QStringLiteral("meter_sentence_rest.png"));
    // Chart 149 px wide: slots of 49.67 px, gaps of 12, bars 37 px wide from x = 12, 61 and 111, the 3-D
    // right side reaching to x + 37 + 3 + 1. Outside the bars the picture shows through unblended.
    const QImage frame = m->BackgroundBitmap()->ToImage();
    const QImage back = FPicture.convertToFormat(QImage::Format_RGB32);
    const int y = 440;
    for (const auto& [x, bar] :
         {std::pair{11, false}, std::pair{12, true}, std::pair{60, false}, std::pair{61, true}, std::pair{110, false},
          std::pair{111, true}, std::pair{152, true}, std::pair{153, false}}) {
        const bool differs = frame.pixel(x, y) != back.pixel(x, y);
        if (differs != bar) QFAIL(qPrintable(QStringLiteral("column %1").arg(x)));
    }

    s->Items(2)->SetBlueValue(520);
    m->SetActive(true);
    for (int i = 0; i < 12; ++i)
        m->RefreshTimerTimer();
    Save(m, QStringLiteral("meter_sentence_animating.png"));
    m->SetActive(false);
    QTest::qWait(20);
}

void TestZavaduMeterRender::smokeFullFeaturedPicture_data()
{
    QTest::addColumn<bool>("use3D");
    QTest::addColumn<bool>("blend");
    QTest::newRow("3-D") << true << false;
    QTest::newRow("flat") << false << false;
    QTest::newRow("3-D blended") << true << true;
}

void TestZavaduMeterRender::smokeFullFeaturedPicture()
{
    QFETCH(bool, use3D);
    QFETCH(bool, blend);
    QWidget host;
    host.resize(640, 400);
    auto* m = new TZavaduMeter(&host);
    m->SetBounds(0, 0, 640, 400);
    m->SetUse3DBlock(use3D);
    m->SetMarginLeft(40);
    m->SetMarginTop(30);
    m->SetMarginbotton(4);
    m->SetShowTitle(true);
    m->SetCaption(QStringLiteral("타자속도"));
    m->SetVertLabelsPos(alpLeft);
    m->SetShowVertAxisTick(true);
    m->SetVertLabelsIncrement(20);
    m->SetMaxBlockCount(100);
    m->SetBlockBlueLegend(QStringLiteral("정확"));
    m->SetBlockOrangeLegend(QStringLiteral("보통"));
    m->SetBlockRedLegend(QStringLiteral("빠름"));
    m->SetLegendVisible(true);
    m->SetDrawBlockDivider(true);
    m->SetMinBlockWidth(40);
    if (blend) {
        m->SetUseBackGroundImage(true);
        m->SetBlendAlpha(0.6f);
        m->OnPaintBackGroundImage = [this](QObject*, TBitmap* img, bool) { TilePicture(img, FPicture); };
        m->SetFlowDirection(fdLeftToRight);
    }
    host.show();
    TZavaduSerieses* s = m->Serieses();
    for (int i = 0; i < 14; ++i) {
        const QString name = QStringLiteral("S%1").arg(i, 2, 10, QLatin1Char('0'));
        TZavaduSeries* x = s->AddItem(name, 10 + i * 3, i * 2, i % 3 * 5, false, false, false, name);
        if (i == 2) x->AddBlockItem(QStringLiteral("오타"), 15, 0x808080, false);
        if (i == 4) x->SetConnected(false);
    }
    s->AddItem(QStringLiteral("S05"), 0, 0, 0, false, true, false, QString());
    if (blend) {
        m->AddMovingBlock();
        m->MovingBlockChunkList()->Items(0)->xRatio = 0.4f;
    }
    m->Paint();
    Save(m, QStringLiteral("meter_full_%1%2.png").arg(use3D ? "3d" : "flat", blend ? "_blend" : ""));
    QCOMPARE(m->VisibleBlockCount() < s->Count(), true);
}

QTEST_MAIN(TestZavaduMeterRender)
#include "tst_zavadumeter_render.moc"
