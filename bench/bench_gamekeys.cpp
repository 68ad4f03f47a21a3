// Key press to repainted input box under a real X server: keys go in through the X test extension, as a
// typist's do, into the game's input box while the game runs (clocks ticking, the board's words typed and
// judged), and in the same run, in turns, into a plain QLineEdit in a window of its own. The time runs from
// the key sent to the end of the window's repaint that showed it (painted and handed to the X server).
// Prints, for each box: median, 87th and 95th percentile, maximum, and the share of keys over 20 and 50 ms.
// Run under X with the xcb platform, e.g. bench/gamekeys.sh [build folder] [keys per box] [sound]; a trace of the
// slow keys' work: VORNIX_KEY_TRACE=1.
#include "bench/BenchSupport.h"
#include "bench/GameBench.h"
#include "platform/Edit.h"
#include "platform/Sound.h"

#include <QApplication>
#include <QDebug>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPaintEvent>

#include <X11/Xlib.h>
#include <dlfcn.h>
// Xlib's names that Qt uses too.
#undef KeyPress
#undef KeyRelease
#undef FocusIn
#undef FocusOut
#undef None
#undef Bool
#undef Status
#undef Expose
#undef Unsorted

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <thread>
#include <vector>

namespace {
constexpr int kMaxKeys = 100000;
using TFakeKeyEvent = int (*)(Display*, unsigned int, int, unsigned long);

QElapsedTimer gClock;                  // one clock for both threads
std::atomic<qint64> gSentAt[kMaxKeys]; // when key i was sent, ns
std::atomic<int> gSent{0};
std::atomic<int> gReceived{0};

// Watches every event on the user-interface thread: a key press reaching one of the boxes starts a key,
// the repaint of that box's window that painted it ends it.
class TKeyTimes : public QApplication
{
public:
    using QApplication::QApplication;
    struct TBox
    {
        QWidget* Box = nullptr;
        std::vector<double> Ms;
        std::vector<int> Pending;
        bool Painted = false;
    };
    TBox Boxes[2];

    bool notify(QObject* o, QEvent* e) override
    {
        const QEvent::Type t = e->type();
        if (t == QEvent::KeyPress && e->spontaneous() && o->isWidgetType()) {
            const int index = gReceived.fetch_add(1);
            for (TBox& b : Boxes)
                if (o == b.Box) b.Pending.push_back(index);
        }
        for (TBox& b : Boxes)
            if (t == QEvent::Paint && o == b.Box && !b.Pending.empty()) b.Painted = true;
        QElapsedTimer took;
        took.start();
        const int depth = FDepth++;
        if (FTrace && depth == 0) FLog.clear();
        const QString what =
            FTrace && t == QEvent::Paint
                ? QStringLiteral(" %1").arg(QDebug::toString(static_cast<QPaintEvent*>(e)->region().boundingRect()))
                : QString();
        const char* className = o->metaObject()->className(); // o may be gone after a deferred delete
        QWidget* const window = o->isWidgetType() ? static_cast<QWidget*>(o)->window() : nullptr;
        const bool result = QApplication::notify(o, e);
        --FDepth;
        const qint64 ns = took.nsecsElapsed();
        if (FTrace && (t == QEvent::Paint || depth == 0))
            FLog << QStringLiteral("%1%2 ms %3 %4%5")
                        .arg(QString(depth * 2, u' '))
                        .arg(ns / 1e6, 0, 'f', 2)
                        .arg(QString::fromLatin1(className))
                        .arg(int(t))
                        .arg(what);
        if (FTrace && depth == 0 && ns > 10000000) std::fprintf(stderr, "%s\n", qPrintable(FLog.join(u'\n')));
        if (t == QEvent::UpdateRequest)
            for (TBox& b : Boxes)
                if (b.Painted && window == b.Box->window()) {
                    const qint64 now = gClock.nsecsElapsed();
                    for (int index : b.Pending) {
                        b.Ms.push_back(double(now - gSentAt[index].load()) / 1e6);
                        if (FTrace && b.Ms.back() > 20)
                            std::fprintf(stderr, "key %d to %s: %.1f ms\n", index, b.Box->metaObject()->className(),
                                         b.Ms.back());
                    }
                    b.Pending.clear();
                    b.Painted = false;
                }
        return result;
    }

private:
    const bool FTrace = qEnvironmentVariableIntValue("VORNIX_KEY_TRACE") == 1;
    int FDepth = 0;
    QStringList FLog;
};

void Print(const char* name, std::vector<double> ms)
{
    if (ms.empty()) {
        std::printf("%-28s no keys\n", name);
        return;
    }
    std::sort(ms.begin(), ms.end());
    const auto at = [&ms](double q) { return ms[size_t(double(ms.size() - 1) * q)]; };
    const auto share = [&ms](double over) {
        return 100.0 * double(ms.end() - std::upper_bound(ms.begin(), ms.end(), over)) / double(ms.size());
    };
    std::printf("%-28s n=%5zu  median %6.2f  p87 %6.2f  p95 %6.2f  max %7.1f ms   >20 ms %5.1f %%  >50 ms %5.1f %%\n",
                name, ms.size(), ms[ms.size() / 2], at(0.87), at(0.95), ms.back(), share(20), share(50));
}
} // namespace

int main(int argc, char** argv)
{
    TKeyTimes app(argc, argv);
    if (QGuiApplication::platformName() != QLatin1String("xcb")) {
        std::fprintf(stderr, "bench_gamekeys needs an X server and the xcb platform (bench/gamekeys.sh)\n");
        return 1;
    }
    void* xtest = dlopen("libXtst.so.6", RTLD_NOW);
    auto fakeKey = xtest ? reinterpret_cast<TFakeKeyEvent>(dlsym(xtest, "XTestFakeKeyEvent")) : nullptr;
    Display* display = XOpenDisplay(nullptr);
    if (!fakeKey || !display) {
        std::fprintf(stderr, "the X test extension (libXtst.so.6) or the display is missing\n");
        return 1;
    }
    const int keysPerBox = std::clamp(argc > 1 ? std::atoi(argv[1]) : 600, 10, kMaxKeys / 3);
    // "sound" as the second argument: the game sounds through the real player (an audio server, if any).
    const bool sound = argc > 2 && QByteArray(argv[2]) == "sound";
    if (!sound) SetSoundHook([](const QString&) {});
    TGameForm* const game = OpenEnglishGame(7);

    QWidget plainWindow;
    plainWindow.setWindowTitle(QStringLiteral("plain line edit"));
    auto* plain = new QLineEdit(&plainWindow);
    QFont font(QStringLiteral("NanumGothicCoding"));
    font.setPixelSize(16);
    font.setBold(true);
    plain->setFont(font);
    plain->setGeometry(10, 10, 144, 28);
    plainWindow.resize(164, 48);
    plainWindow.move(1200, 40);
    plainWindow.show();
    // The game clears its box at a blank's release; so does this one.
    struct TClearAtBlank : QObject
    {
        bool eventFilter(QObject* o, QEvent* e) override
        {
            if (e->type() == QEvent::KeyRelease && static_cast<QKeyEvent*>(e)->key() == Qt::Key_Space)
                static_cast<QLineEdit*>(o)->clear();
            return false;
        }
    } clearAtBlank;
    plain->installEventFilter(&clearAtBlank);

    app.Boxes[0].Box = game->Memo1;
    app.Boxes[1].Box = plain;
    const Window targets[2] = {Window(game->winId()), Window(plainWindow.winId())};
    QWidget* const focusOf[2] = {game->Memo1, plain};

    // The words to type: one on the board when there is one, so the game goes on.
    const auto nextWord = [game]() {
        QString word;
        QMetaObject::invokeMethod(
            game,
            [game, &word] {
                for (const QString& w : game->BoardWords())
                    if (!w.isEmpty() && w.at(0).unicode() < 128) {
                        word = w;
                        break;
                    }
                if (word.isEmpty()) word = QStringLiteral("window");
            },
            Qt::BlockingQueuedConnection);
        return word;
    };
    const auto focus = [game, focusOf](int box) {
        QMetaObject::invokeMethod(
            game,
            [w = focusOf[box]] {
                w->activateWindow();
                w->setFocus();
            },
            Qt::BlockingQueuedConnection);
    };

    gClock.start();
    std::atomic<bool> failed{false};
    std::thread sender([&] {
        std::mt19937 random(11);
        std::uniform_int_distribution<int> gap(40, 160), hold(20, 60);
        const KeyCode space = XKeysymToKeycode(display, XStringToKeysym("space"));
        const auto send = [&](KeyCode code) -> bool {
            const int index = gSent.load();
            gSentAt[index].store(gClock.nsecsElapsed());
            gSent.store(index + 1);
            fakeKey(display, code, True, CurrentTime);
            XFlush(display);
            std::this_thread::sleep_for(std::chrono::milliseconds(hold(random)));
            fakeKey(display, code, False, CurrentTime);
            XFlush(display);
            // Every key must arrive before the next goes, or the times would be paired with the wrong keys.
            for (int waited = 0; gReceived.load() <= index; ++waited) {
                if (waited > 2000) return false;
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(gap(random)));
            return true;
        };
        int typed[2] = {0, 0};
        for (int turn = 0; typed[0] < keysPerBox || typed[1] < keysPerBox; ++turn) {
            const int box = turn % 2;
            if (typed[box] >= keysPerBox) continue;
            XSetInputFocus(display, targets[box], RevertToParent, CurrentTime);
            XSync(display, False);
            focus(box);
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            // A turn is a few words, each followed by a blank.
            for (int w = 0; w < 8 && typed[box] < keysPerBox; ++w) {
                const QString word = nextWord();
                for (QChar ch : word) {
                    const KeyCode code = XKeysymToKeycode(display, XStringToKeysym(QString(ch).toLatin1().constData()));
                    if (!send(code)) {
                        failed = true;
                        break;
                    }
                    ++typed[box];
                }
                if (failed || !send(space)) {
                    failed = true;
                    break;
                }
                ++typed[box];
            }
            if (failed) break;
        }
        QMetaObject::invokeMethod(
            &app, [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
    });
    app.exec();
    sender.join();
    if (failed) std::fprintf(stderr, "a key did not arrive: the run is cut short\n");

    Print("game input box (TEdit)", app.Boxes[0].Ms);
    Print("plain QLineEdit", app.Boxes[1].Ms);
    std::printf("game: level %d, score %d, lives %d\n", game->Model().GameLevel, game->Model().GameScore(),
                game->Model().Lives());
    game->Close();
    delete game;
    XCloseDisplay(display);
    return failed ? 1 : 0;
}
