// The meter's pictures: the sentence meter at rest and mid-animation (written as PNGs for a person to look
// at), the keyed blend, and what reaches the screen per tick.

#include "zavadumeter_fixture.h"

#include "ZavaduMeterDraw.h"

#include <QDir>
#include <QtTest>

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

    s->Items(2)->SetBlueValue(520);
    m->SetActive(true);
    for (int i = 0; i < 12; ++i)
        m->RefreshTimerTimer();
    Save(m, QStringLiteral("meter_sentence_animating.png"));
    m->SetActive(false);
    QTest::qWait(20);
}

QTEST_MAIN(TestZavaduMeterRender)
#include "tst_zavadumeter_render.moc"
