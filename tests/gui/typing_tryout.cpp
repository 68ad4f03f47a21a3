#include "engine/SentencePractice.h"
#include "platform/Application.h"
#include "platform/Random.h"

#include <QInputMethodEvent>
#include <QVBoxLayout>
#include <QWidget>

#include <cstdio>

namespace {
// What the system input method committed to the first control, so a test can tell its composing from
// the program's own.
class TCommitLog : public QObject
{
public:
    QString Committed;

protected:
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::InputMethod) Committed += static_cast<QInputMethodEvent*>(e)->commitString();
        return false;
    }
};
} // namespace

int main(int argc, char** argv)
{
    TApplication app(argc, argv);
    TApplication::SetTitle(QStringLiteral("Vornix 타자연습"));
    Randomize();

    // One typing control with its default problem, Korean input on and the letter check on.
    QWidget window;
    window.setWindowTitle(TApplication::Title());
    window.resize(850, 700);
    auto* layout = new QVBoxLayout(&window);
    auto* practice = new TSentencePractice(&window);
    QFont font(QStringLiteral("굴림체"));
    font.setPixelSize(24);
    practice->setFont(font);
    practice->SetCheckComposingChar(true);
    practice->SetTypingLang(tlNative);
    layout->addWidget(practice);
    // A second control under the first, for tests that move the focus while a syllable is composed.
    TSentencePractice* second = nullptr;
    if (qEnvironmentVariableIsSet("VORNIX_TRYOUT_TWO")) {
        second = new TSentencePractice(&window);
        second->setFont(font);
        second->SetCheckComposingChar(true);
        second->SetTypingLang(tlNative);
        layout->addWidget(second);
    }
    TCommitLog commits;
    practice->installEventFilter(&commits);
    practice->setFocus();
    window.show();
    const int status = app.exec();

    // For the whole-program tests: what was typed, one line per sentence.
    if (qEnvironmentVariableIsSet("VORNIX_DUMP_TYPED"))
        for (const auto& sentence : practice->Sentences())
            std::printf("typed: %s\n", sentence->typed.toUtf8().constData());
    if (qEnvironmentVariableIsSet("VORNIX_DUMP_TYPED"))
        std::printf("system commits: %s\n", commits.Committed.toUtf8().constData());
    if (second && qEnvironmentVariableIsSet("VORNIX_DUMP_TYPED"))
        for (const auto& sentence : second->Sentences())
            std::printf("second: %s\n", sentence->typed.toUtf8().constData());
    return status;
}
