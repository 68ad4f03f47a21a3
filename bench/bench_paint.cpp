// Paint time of the main window: a whole repaint (gradient, bolt, cloud buttons, banner) and one tick of
// the mouse effect under a hovered menu button (the strip's repaint).
// Run: build/bench/bench_paint   (offscreen unless QT_QPA_PLATFORM says otherwise)

#include "bench/BenchSupport.h"
#include "engine/VornixMisc.h"
#include "platform/Application.h"
#include "screens/MainUnit.h"

#include <QEnterEvent>
#include <QTemporaryDir>

#include <cstdio>
#include <functional>

namespace {
void Measure(const char* what, int runs, const std::function<void()>& step)
{
    for (int i = 0; i < 10; ++i) // warm caches as a running program has them
        step();
    const TFigures f = FiguresOf(MillisecondsOfRuns(runs, [&step](int) { step(); }));
    std::printf("%-40s median %7.3f ms   p95 %7.3f ms   max %7.3f ms\n", what, f.Median, f.P95, f.Max);
}
} // namespace

int main(int argc, char** argv)
{
    UseOffscreenPlatform();
    TApplication app(argc, argv);
    QTemporaryDir dir;
    ProgramFolder = dir.path() + u'/';
    TMainForm form;
    MainForm = &form;
    form.show();
    QCoreApplication::processEvents();

    Measure("whole main window repaint", 200, [&] { form.repaint(); });
    {
        QWidget empty; // the yardstick: a plain window of the same size
        empty.resize(form.size());
        empty.show();
        QCoreApplication::processEvents();
        Measure("empty window repaint (same size)", 200, [&] { empty.repaint(); });
    }

    MainFormFocused = true;
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), form.KeyBtn->mapToGlobal(QPointF(5, 5)));
    QCoreApplication::sendEvent(form.KeyBtn, &enter);
    const TRect r = form.MouseEffectRect();
    Measure("mouse effect tick (strip repaint)", 500, [&] { form.repaint(r.Left, r.Top, r.Width(), r.Height()); });
    // A hovered cloud is tinted and repainted with the strip each time the pointer moves over it.
    Measure("hovered cloud button repaint", 500, [&] { form.KeyBtn->repaint(); });
    MainForm = nullptr;
    return 0;
}
