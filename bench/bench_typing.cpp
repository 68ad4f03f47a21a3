// Keystroke to repainted line: a key event goes through the input context into the typing control, and
// the changed part of the window is repainted and flushed. Also the letter check per syllable.
// Prints median and 99th percentile; runs on the offscreen platform unless QT_QPA_PLATFORM says otherwise.
// Run: build/bench/bench_typing [rounds] [line length] [control width]   (defaults 20000, 100 and room for
// the line): a longer line shows how a keystroke's cost grows with it.
#include "bench/BenchSupport.h"
#include "engine/HangulCheck.h"
#include "engine/SentencePractice.h"
#include "tests/support/WidgetTestUtil.h"

#include <QApplication>
#include <QKeyEvent>
#include <QVBoxLayout>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {
// Sends one key and waits until its repaint has reached the window's backing store.
double TimedKey(QWidget& window, QWidget* w, const TPaintCounter& paints, int key, const QString& text)
{
    const int before = paints.Count;
    const double us = Microseconds([&] {
        SendKey(w, key, text);
        QCoreApplication::sendPostedEvents(&window, QEvent::UpdateRequest);
    });
    if (paints.Count == before) std::fprintf(stderr, "warning: a key caused no repaint\n");
    return us;
}

// Between timed runs the event loop catches up, untimed: otherwise the updates Qt keeps pending pile up
// and the cost per key grows with the number of rounds, not with the line.
void CatchUp()
{
    QApplication::processEvents();
}
} // namespace

int main(int argc, char** argv)
{
    UseOffscreenPlatform();
    QApplication app(argc, argv);
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* c = new TSentencePractice;
    QFont font(QStringLiteral("NanumGothicCoding"));
    font.setPixelSize(24);
    c->setFont(font);
    c->SetCheckComposingChar(true);
    layout->addWidget(c);
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 20000;
    const int lineLength = std::max(10, argc > 2 ? std::atoi(argv[2]) : 100);
    const int width = argc > 3 ? std::atoi(argv[3]) : lineLength * 26; // the line fits at 24 pixels a letter
    window.resize(width, 300);
    window.show();
    c->setFocus();
    const auto* paints = new TPaintCounter(c);
    // The typed text stays between 40 and 90 percent of the line.
    const int low = lineLength * 2 / 5, high = lineLength * 9 / 10;

    const QString latin =
        QStringLiteral("The quick brown fox jumps over the lazy dog. ").repeated(lineLength / 45 + 1).left(lineLength);
    c->SetSentenceCount(1);
    c->SetProblem(0, latin);
    c->SetTypingLang(tlEng);
    for (int i = 0; i < low; ++i)
        SendKey(c, Qt::Key_A, latin.mid(i, 1));
    CatchUp();
    std::vector<double> commit;
    for (int i = 0; i < rounds; ++i) {
        const int n = c->Sentences()[0]->typed.size();
        if (n >= high) {
            for (int k = low; k < high; ++k)
                SendKey(c, Qt::Key_Backspace, QString(QChar(8)));
            CatchUp();
            continue;
        }
        commit.push_back(TimedKey(window, c, *paints, Qt::Key_X, latin.mid(n, 1)));
    }
    char name[64];
    std::snprintf(name, sizeof name, "commit one character (%d-char line)", lineLength);
    Report(name, commit);

    // The same with Hangul composing: each key adds a letter to the syllable shown as a block.
    const QString korean =
        QStringLiteral("한글 타자 연습은 천천히 정확하게 시작합니다 ").repeated(lineLength / 24 + 1).left(lineLength);
    c->SetProblem(0, korean);
    c->SetTypingLang(tlNative);
    for (int i = 0; i < low; ++i)
        c->ImeChar(korean[i].unicode());
    CatchUp();
    std::vector<double> compose, commitKorean;
    const struct
    {
        int Key;
        const char* Text;
    } keys[] = {{Qt::Key_G, "g"}, {Qt::Key_K, "k"}, {Qt::Key_S, "s"},
                {Qt::Key_R, "r"}, {Qt::Key_M, "m"}, {Qt::Key_F, "f"}};
    for (int i = 0; i < rounds / 6; ++i) {
        if (c->Sentences()[0]->typed.size() >= high) {
            c->InputContext().Complete();
            for (int k = low; k < high; ++k)
                SendKey(c, Qt::Key_Backspace, QString(QChar(8)));
            CatchUp();
        }
        for (int k = 0; k < 6; ++k) {
            const double us = TimedKey(window, c, *paints, keys[k].Key, QString::fromLatin1(keys[k].Text));
            // The fourth key (r) commits 한 and starts ㄱ; the others only update the composition.
            (k == 3 ? commitKorean : compose).push_back(us);
        }
    }
    Report("composition update (one key, block repaint)", compose);
    Report("commit syllable + new composition (one key)", commitKorean);

    // For comparison: repainting the whole control, as a keystroke would without partial repaints.
    std::vector<double> full;
    for (int i = 0; i < 2000; ++i)
        full.push_back(Microseconds([c] { c->repaint(); }));
    Report("whole control repaint (for comparison)", full);

    // The letter check of every syllable against a target, and the split alone.
    std::vector<double> check, split;
    const QString problem = QStringLiteral("괜");
    volatile int sink = 0;
    constexpr double kSyllables = 0xD7A3 - 0xAC00 + 1;
    for (int r = 0; r < 20; ++r) {
        check.push_back(Microseconds([&] {
                            for (char16_t ch = 0xAC00; ch <= 0xD7A3; ++ch) {
                                QString letters;
                                sink += IsComposingCharRight(true, true, problem, QString(), ch, letters);
                            }
                        }) /
                        kSyllables);
        split.push_back(Microseconds([&] {
                            for (char16_t ch = 0xAC00; ch <= 0xD7A3; ++ch) {
                                THangulForm form;
                                sink += SplitHangul(ch, form);
                            }
                        }) /
                        kSyllables);
    }
    std::printf("%-44s %7.1f ns per syllable (median of 20 passes)\n", "IsComposingCharRight",
                FiguresOf(check).Median * 1000);
    std::printf("%-44s %7.1f ns per syllable (median of 20 passes)\n", "SplitHangul", FiguresOf(split).Median * 1000);
    std::printf("paint events: %d\n", paints->Count);
    return 0;
}
