// The sentence practice window at work: a keystroke to its repainted line while the speed meter animates
// over a tiled picture, the meter's frame with that picture behind it, and the live-speed tick.
// Prints median and 99th percentile; run on the offscreen platform for figures comparable over time.
// Run: build/bench/bench_sentence [rounds]
#include "bench/BenchSupport.h"
#include "components/ZavaduMeter.h"
#include "engine/ThreadTimer.h"
#include "engine/VornixMisc.h"
#include "platform/Sound.h"
#include "screens/SentenceUnit.h"
#include "tests/support/WidgetTestUtil.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLinearGradient>
#include <QPainter>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {
// A 1024 x 768 picture of our own: a sky gradient with soft stripes.
QImage Picture()
{
    QImage img(1024, 768, QImage::Format_RGB32);
    QPainter p(&img);
    QLinearGradient sky(0, 0, 0, 768);
    sky.setColorAt(0, QColor(200, 220, 245));
    sky.setColorAt(1, QColor(250, 240, 225));
    p.fillRect(img.rect(), sky);
    p.setPen(QPen(QColor(255, 255, 255, 120), 9));
    for (int x = -768; x < 1024; x += 60)
        p.drawLine(x, 0, x + 768, 768);
    return img;
}
} // namespace

int main(int argc, char** argv)
{
    // A screen of 1920 x 1200 at 96 dpi, so the window has its design width and the typed line stays on it.
    UseOffscreenScreen(1920, 1200);
    QApplication app(argc, argv);
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 20000;

    QTemporaryDir dir;
    ProgramFolder = dir.path() + u'/';
    QDir().mkpath(ProgramFolder + QStringLiteral("Text"));
    const QString line = QStringLiteral("The quick brown fox jumps over the lazy dog. ").repeated(3).left(100);
    QFile text(ProgramFolder + QStringLiteral("Text/bench.txt"));
    text.open(QIODevice::WriteOnly);
    text.write((QStringList(8, line).join(u'\n')).toUtf8());
    text.close();
    Picture().save(ProgramFolder + QStringLiteral("back.png"));
    SentenceSetup = TSentenceSetupRec();
    SentenceSetup.UseSound = false;
    SetSoundHook([](const QString&) {});
    SentenceSetup.BackImage = QStringLiteral("1") + ProgramFolder + QStringLiteral("back.png");

    auto* form = new TSentenceForm();
    SentenceForm = form;
    form->resize(1344, 500);
    form->StartExercise(true, ProgramFolder + QStringLiteral("Text/bench.txt"));
    form->show();
    QApplication::processEvents();
    TSentencePractice* c = form->SenEx;
    c->setFocus();
    const auto* paints = new TPaintCounter(c);

    for (int i = 0; i < 20; ++i)
        SendKey(c, Qt::Key_A, line.mid(i, 1));
    QApplication::processEvents();

    if (!form->SpeedMeter->Active()) std::fprintf(stderr, "warning: the meter does not run\n");

    // Keystrokes with the meter animating: a meter frame (one 90 ms tick) between every few keys, as
    // typing at about 600 keys a minute meets the refresh timer. Between keys the event loop catches up,
    // untimed, as it does between a typist's keys; otherwise what Qt keeps pending piles up and the cost
    // per key grows with the number of rounds.
    std::vector<double> keys;
    int unpainted = 0;
    for (int i = 0; i < rounds; ++i) {
        const int n = c->Sentences()[0]->typed.size();
        // The typed text stays between 20 and 60 characters, inside the control's width.
        if (n >= 60) {
            for (int k = 0; k < 40; ++k)
                SendKey(c, Qt::Key_Backspace, QString(QChar(8)));
            QApplication::processEvents();
            continue;
        }
        if (i % 9 == 0) {
            form->SpeedMeter->RefreshTimerTimer();
            QCoreApplication::sendPostedEvents(form, QEvent::UpdateRequest);
        }
        QApplication::processEvents();
        QCoreApplication::sendPostedEvents(form, QEvent::UpdateRequest); // what a timer there asked for
        const int before = paints->Count;
        keys.push_back(Microseconds([&] {
            SendKey(c, Qt::Key_X, line.mid(n, 1));
            QCoreApplication::sendPostedEvents(form, QEvent::UpdateRequest);
        }));
        unpainted += paints->Count == before;
    }
    Report("keystroke to repainted line (meter running)", keys);
    if (unpainted) std::fprintf(stderr, "warning: %d of %zu keys caused no repaint\n", unpainted, keys.size());

    std::vector<double> frames;
    for (int i = 0; i < std::max(200, rounds / 20); ++i)
        frames.push_back(Microseconds([form] {
            form->SpeedMeter->RefreshTimerTimer();
            QCoreApplication::sendPostedEvents(form, QEvent::UpdateRequest);
        }));
    Report("meter frame over the tiled picture (90 ms tick)", frames);

    std::vector<double> ticks;
    for (int i = 0; i < std::max(200, rounds / 20); ++i)
        ticks.push_back(Microseconds([form] { form->CurrSpeedTimerTimer(nullptr); }));
    Report("live-speed tick (1000 ms)", ticks);

    std::vector<double> full;
    for (int i = 0; i < 300; ++i)
        full.push_back(Microseconds([c] { c->repaint(); }));
    Report("whole typing control over the picture (comparison)", full);

    form->SpeedMeter->SetActive(false);
    form->CurrSpeedTimer->SetEnabled(false);
    delete form;
    return 0;
}
