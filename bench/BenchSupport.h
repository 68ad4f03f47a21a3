#pragma once
// The timing harness the benchmarks share: the platform they run on, timed runs and their figures, and a
// keystroke sent to a control.

#include <QApplication>
#include <QByteArray>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QWidget>
#include <QtGlobal>

#include <algorithm>
#include <cstdio>
#include <vector>

// Runs on the offscreen platform (figures comparable over time, no display needed) unless
// QT_QPA_PLATFORM names another. Call before the application object is made.
inline void UseOffscreenPlatform(const QByteArray& platform = "offscreen")
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", platform);
}

// Runs on the offscreen platform with one screen of width x height at 96 dpi, unless QT_QPA_PLATFORM names
// another platform. Plain "offscreen" gets the screen as well: its own is 800 x 600, and a window reaching past
// it never paints what lies outside, so keys typed there would be timed without their repaint.
inline void UseOffscreenScreen(int width, int height)
{
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (!platform.isEmpty() && platform != "offscreen") return;
    static QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("offscreen.json"));
    QFile json(path);
    if (!json.open(QIODevice::WriteOnly)) return;
    json.write(QStringLiteral(R"({"screens":[{"name":"bench","x":0,"y":0,"width":%1,"height":%2,)"
                              R"("logicalDpiX":96,"logicalDpiY":96}]})")
                   .arg(width)
                   .arg(height)
                   .toUtf8());
    json.close();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + path.toLocal8Bit());
}

// How long one call of step takes, in microseconds.
template <class Step> double Microseconds(Step&& step)
{
    QElapsedTimer t;
    t.start();
    step();
    return double(t.nsecsElapsed()) / 1e3;
}

// Times runs calls of step(i), in milliseconds each.
template <class Step> std::vector<double> MillisecondsOfRuns(int runs, Step&& step)
{
    std::vector<double> ms;
    ms.reserve(size_t(std::max(runs, 0)));
    QElapsedTimer t;
    for (int i = 0; i < runs; ++i) {
        t.start();
        step(i);
        ms.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    return ms;
}

struct TFigures
{
    size_t Count;
    double Median, P95, P99, Max;
};

// The percentiles are the sample a fraction q of the way from the smallest to the largest (nearest rank
// below); the median is the middle sample, the upper one of an even count.
inline TFigures FiguresOf(std::vector<double> samples)
{
    if (samples.empty()) return {0, 0, 0, 0, 0};
    std::sort(samples.begin(), samples.end());
    const auto at = [&samples](double q) { return samples[size_t(double(samples.size() - 1) * q)]; };
    return {samples.size(), samples[samples.size() / 2], at(0.95), at(0.99), samples.back()};
}

// One line of figures in microseconds: count, median and 99th percentile.
inline void Report(const char* name, const std::vector<double>& us)
{
    const TFigures f = FiguresOf(us);
    std::printf("%-52s n=%6zu  median %8.1f us  p99 %8.1f us\n", name, f.Count, f.Median, f.P99);
}

// A key pressed and let go, typing text.
inline void SendKey(QWidget* w, int key, const QString& text)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(w, &release);
}

// The Qt key of a practice key's virtual-key code.
inline Qt::Key QtKeyOf(int vk)
{
    switch (vk) {
    case 186:
        return Qt::Key_Semicolon;
    case 191:
        return Qt::Key_Slash;
    case 222:
        return Qt::Key_Apostrophe;
    default:
        return Qt::Key(vk); // digits and letters
    }
}
