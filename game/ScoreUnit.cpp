#include "game/ScoreUnit.h"

#include "engine/VornixMisc.h"
#include "game/NameUnit.h"
#include "platform/Application.h"
#include "platform/Clock.h"
#include "platform/Edit.h"

QPointer<TScoreForm> ScoreForm;
bool ScoreFormExists = false;
QString ScoreFileName;

namespace {

const TFont ListFont{QStringLiteral("굴림"), -13, clWindowText, 0};

struct TSectionDef
{
    const char16_t* text;
    int width;
};
// Only "단계" can be resized; the others keep their width.
constexpr TSectionDef Sections[] = {{u"순위", 45}, {u"이름", 90},         {u"점수", 120},
                                    {u"단계", 41}, {u"날짜와 시간", 150}, {u"언어", 50}};
constexpr int ResizableSection = 3;
constexpr int HeaderHeight = 17;

QDateTime LocalNow()
{
    const TSystemTime t = GetLocalTime();
    return QDateTime(QDate(t.wYear, t.wMonth, t.wDay), QTime(t.wHour, t.wMinute, t.wSecond));
}

} // namespace

TScoreForm::TScoreForm(QWidget* parent) : TForm(parent)
{
    SetName(QStringLiteral("ScoreForm"));
    SetCaption(QStringLiteral("'Zorbit' 점수판"));
    SetBorderStyle(TFormBorderStyle::bsSingle);
    SetBorderIcons(biSystemMenu);
    SetFormStyle(TFormStyle::fsStayOnTop);
    SetPosition(TPosition::poScreenCenter);
    SetClientSize(497, 352);

    Header1 = new THeaderControl(this);
    Header1->SetName(QStringLiteral("Header1"));
    Header1->SetStyle(THeaderStyle::hsFlat);
    Header1->SetFullDrag(false);
    Header1->SetFont(ListFont);
    for (int i = 0; i < int(std::size(Sections)); ++i) {
        THeaderSection* s = Header1->AddSection(QString::fromUtf16(Sections[i].text), Sections[i].width);
        if (i != ResizableSection) {
            s->SetMinWidth(Sections[i].width);
            s->SetMaxWidth(Sections[i].width);
        }
    }
    Header1->SetBounds(0, 0, ClientWidth(), HeaderHeight);
    Header1->OnSectionResize = [this](THeaderControl* h, THeaderSection* s) { Header1SectionResize(h, s); };

    ListBox1 = new TListBox(this);
    ListBox1->SetName(QStringLiteral("ListBox1"));
    ListBox1->SetStyle(TListBoxStyle::lbOwnerDrawFixed);
    ListBox1->SetItemHeight(18);
    ListBox1->SetFont(ListFont);
    ListBox1->OnDrawItem = [this](TCustomListBox* c, int i, const TRect& r, TOwnerDrawState s) {
        ListBox1DrawItem(c, i, r, s);
    };

    YouBmp = QImage(QStringLiteral(":/icons/YouBmp.png"));

    OnClose = [this](QObject* sender, TCloseAction& action) { FormClose(sender, action); };
    OnDestroy = [this](QObject* sender) { FormDestroy(sender); };
    FormCreate(this);
}

TScoreForm::~TScoreForm()
{
    // A window deleted without its close action still marks itself gone.
    if (ScoreFormExists && (ScoreForm == this || ScoreForm.isNull())) ScoreFormExists = false;
}

void TScoreForm::FormCreate(QObject*)
{
    ScoreFormExists = true;
    // The list fills the client area under the header.
    ListBox1->SetBounds(0, HeaderHeight, ClientWidth(), ClientHeight() - HeaderHeight);
    const TUserFile file = UserFile(QStringLiteral("cscore.dat"));
    ScoreFileName = file.Path;
    ScoreList = std::make_unique<THighScores>(file.Path, file.ReadFrom);
    ReadScore();
}

void TScoreForm::ReadScore()
{
    const bool ok = ScoreList->ReadScore();
    FillItems();
    if (!ok) TApplication::ShowException(ScoreList->Error());
}

bool TScoreForm::SaveScore()
{
    if (ScoreList->SaveScore()) return true;
    if (ScoreList->Readable()) TApplication::ShowException(ScoreList->Error());
    return false;
}

void TScoreForm::SetRank()
{
    ScoreList->SetRank();
}

void TScoreForm::FillItems()
{
    ListBox1->ClearItems();
    for (qsizetype i = 0; i < ScoreList->List().size(); ++i)
        ListBox1->AddItem(QString());
}

void TScoreForm::FormClose(QObject*, TCloseAction& Action)
{
    Action = caFree;
}

void TScoreForm::FormDestroy(QObject*)
{
    ScoreFormExists = false;
}

void TScoreForm::ListBox1DrawItem(TCustomListBox* Control, int Index, const TRect& Rect, TOwnerDrawState)
{
    if (Index < 0 || Index >= ScoreList->List().size()) return;
    const TScoreRec& rec = ScoreList->List()[Index];
    TCanvas* c = Control->Canvas();
    c->Brush.Style = bsSolid;
    c->Brush.Color = clWhite;
    c->FillRect(Rect);
    if (rec.You) {
        c->Font.Color = TColor(0xFF0000); // blue
        c->Font.Style |= fsBold;
        c->DrawImage(::Rect(Rect.Left + 1, Rect.Top + 1, Rect.Left + 17, Rect.Top + 17), YouBmp);
    } else {
        c->Font.Color = clBlack;
        c->Font.Style &= ~TFontStyles(fsBold);
    }
    QList<int> widths;
    for (int i = 0; i < Header1->SectionCount(); ++i)
        widths << Header1->Section(i)->Width();
    const QRect item(Rect.Left, Rect.Top, Rect.Width(), Rect.Height());
    for (const TScoreCell& cell : ScoreRowCells(rec, item, widths, [c](const QString& t) { return c->TextWidth(t); }))
        c->TextRect(::Rect(cell.Clip.left(), cell.Clip.top(), cell.Clip.left() + cell.Clip.width(),
                           cell.Clip.top() + cell.Clip.height()),
                    cell.X, cell.Y, cell.Text);
}

void TScoreForm::Header1SectionResize(THeaderControl*, THeaderSection*)
{
    ListBox1->Invalidate();
}

namespace {
// The score window belongs to the program's first window, which outlives the game and its setup dialog.
QWidget* ScoreOwner()
{
    QWidget* w = QApplication::activeWindow();
    while (w && w->parentWidget())
        w = w->parentWidget()->window();
    return w;
}
} // namespace

void SaveUser(int GameScore, int GameLevel, bool EnglishGame, const std::function<void()>& CommitComposition)
{
    if (!ScoreFormExists || ScoreForm.isNull()) ScoreForm = new TScoreForm(ScoreOwner());
    QPointer<TScoreForm> form = ScoreForm;
    const auto askName = [&](QString& name) {
        if (CommitComposition) CommitComposition();
        // Over the game that ended, which a window system then keeps under it.
        const std::unique_ptr<TNameForm> dialog = std::make_unique<TNameForm>(QApplication::activeWindow());
        dialog->ShowModal();
        name = dialog->NameEdit->Text();
        return NameResult.toUpper() == QStringLiteral("YES");
    };
    const TScoreEntry entry = EnterScore(form->Scores(), GameScore, GameLevel, EnglishGame, askName, LocalNow);
    if (form.isNull()) return;
    form->FillItems();
    form->ListBox1->SetItemIndex(form->Scores().SelectYouEntry());
    if (entry.saveFailed) TApplication::ShowException(form->Scores().Error());
}

void ShowScoreForm()
{
    if (!ScoreFormExists || ScoreForm.isNull()) ScoreForm = new TScoreForm(ScoreOwner());
    ScoreForm->ShowModal();
}

void ShowHighScores()
{
    if (!ScoreFormExists || ScoreForm.isNull()) ScoreForm = new TScoreForm(ScoreOwner());
    ScoreForm->Scores().ClearYou();
    ScoreForm->ShowModal();
}
