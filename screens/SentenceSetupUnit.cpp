#include "screens/SentenceSetupUnit.h"

#include "engine/VornixMisc.h"
#include "platform/Exception.h"
#include "platform/HtmlHelp.h"
#include "screens/MainUnit.h"
#include "screens/SentenceImageList.h"
#include "screens/SentenceUnit.h"

#include <QFileInfo>
#include <QLabel>
#include <QPainter>

namespace {
constexpr int kMaxImages = 10;

// The two small icons of the text list: a sheet of lined paper, in two colours.
QImage TextIcon(const QColor& fold)
{
    QImage img(16, 16, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QColor(90, 90, 110));
    p.setBrush(Qt::white);
    p.drawPolygon(QPolygon({QPoint(2, 1), QPoint(10, 1), QPoint(13, 4), QPoint(13, 14), QPoint(2, 14)}));
    p.setBrush(fold);
    p.drawPolygon(QPolygon({QPoint(10, 1), QPoint(13, 4), QPoint(10, 4)}));
    p.setPen(fold.darker(130));
    for (int y = 6; y <= 12; y += 2)
        p.drawLine(4, y, 11, y);
    return img;
}

QLabel* MakeLabel(QWidget* parent, const QString& text, int x, int y)
{
    auto* l = new QLabel(text, parent);
    l->move(x, y);
    l->adjustSize();
    return l;
}

TButton* MakeButton(QWidget* parent, const QString& caption, int x, int y, int w, int h)
{
    auto* b = new TButton(parent);
    b->SetCaption(caption);
    b->SetBounds(x, y, w, h);
    return b;
}

TCheckBox* MakeCheckBox(QWidget* parent, const QString& caption, int x, int y, int w)
{
    auto* c = new TCheckBox(parent);
    c->SetCaption(caption);
    c->SetBounds(x, y, w, 20);
    return c;
}
} // namespace

TSentenceSetupForm::TSentenceSetupForm(QWidget* parent) : TForm(parent)
{
    SetName(QStringLiteral("SentenceSetupForm"));
    SetCaption(QStringLiteral("문장연습설정"));
    SetBorderStyle(TFormBorderStyle::bsDialog);
    SetPosition(TPosition::poScreenCenter);
    SetClientSize(875, 390);
    TFont font;
    font.Name = QStringLiteral("Tahoma");
    font.Height = -11;
    SetFont(font);
    SetKeyPreview(true);
    OnKeyDown = [this](QObject* s, uint16_t& key, TShiftState shift) { FormKeyDown(s, key, shift); };

    TextImageList.Add(TextIcon(QColor(120, 160, 220)));
    TextImageList.Add(TextIcon(QColor(230, 150, 120)));

    Label1 = MakeLabel(this, QStringLiteral("연습할 글"), 12, 8);
    lvText = new TListView(this);
    lvText->SetBounds(12, 26, 250, 352);
    lvText->SetSmallImages(&TextImageList);
    lvText->OnSelectItem = [this](QObject*, TListItem*, bool) {
        actExerciseUpdate();
        actSelectFileUpdate();
    };

    Label3 = MakeLabel(this, QStringLiteral("배경그림"), 274, 8);
    lbBackImage = new TCheckListBox(this);
    lbBackImage->SetStyle(TListBoxStyle::lbOwnerDrawFixed);
    lbBackImage->SetItemHeight(80);
    lbBackImage->SetBounds(274, 26, 270, 318);
    lbBackImage->OnDrawItem = [this](TCustomListBox* c, int i, const TRect& r, TOwnerDrawState s) {
        lbBackImageDrawItem(c, i, r, s);
    };
    btnAddImage = MakeButton(this, QStringLiteral("추가"), 274, 352, 75, 26);
    btnAddImage->OnClick = [this](QObject* s) { btnAddImageClick(s); };
    btnDeleteImage = MakeButton(this, QStringLiteral("삭제"), 355, 352, 75, 26);
    btnDeleteImage->OnClick = [this](QObject* s) { btnDeleteImageClick(s); };

    Label2 = MakeLabel(this, QStringLiteral("폰트, 틀린곳 색깔 "), 556, 8);
    SentenceExample = new TSentencePractice(this);
    SentenceExample->setGeometry(556, 26, 307, 96);
    SentenceExample->SetColor(clWhite);
    SentenceExample->SetReadOnly(true);
    SentenceExample->SetSentenceCount(1);
    SentenceExample->SetLineSpace(5);
    SentenceExample->SetSentenceSpace(25);
    SentenceExample->SetWrongMarkColor(clRed);
    SentenceExample->SetCheckComposingChar(false);
    SentenceExample->SetTypingLang(tlEng);
    btnFont = MakeButton(this, QStringLiteral("폰트"), 556, 130, 90, 26);
    btnFont->OnClick = [this](QObject* s) { btnFontClick(s); };
    btnWrongColor = MakeButton(this, QStringLiteral("틀린곳 색깔"), 652, 130, 110, 26);
    btnWrongColor->OnClick = [this](QObject* s) { btnWrongColorClick(s); };

    chkSpeedLimit = MakeCheckBox(this, QStringLiteral("반복연습할 속도 목표값"), 556, 176, 190);
    edtSpeedLimit = new TSpinEdit(this);
    edtSpeedLimit->SetMinValue(50);
    edtSpeedLimit->SetMaxValue(2000);
    edtSpeedLimit->SetIncrement(50);
    edtSpeedLimit->SetValue(150);
    edtSpeedLimit->SetBounds(752, 174, 80, 22);
    chkShowWrongJohap = MakeCheckBox(this, QStringLiteral("한글조합중 틀리면 표시"), 556, 204, 250);
    chkUseSound = MakeCheckBox(this, QStringLiteral("효과음 사용하기"), 556, 230, 250);

    lblSelectFile = MakeLabel(this, QStringLiteral("◆ 연습할 글을 선택하세요. "), 556, 300);
    lblSelectFile->setStyleSheet(QStringLiteral("color: red;"));

    btnHelp = MakeButton(this, QStringLiteral("도움말"), 556, 346, 90, 32);
    btnHelp->OnClick = [this](QObject* s) { btnHelpClick(s); };
    btnLong = MakeButton(this, QStringLiteral("장문연습"), 654, 346, 100, 32);
    btnLong->OnClick = [this](QObject* s) { btnLongClick(s); };
    btnShort = MakeButton(this, QStringLiteral("단문연습"), 762, 346, 100, 32);
    btnShort->OnClick = [this](QObject* s) { btnShortClick(s); };

    dlgWrongColor.Options = cdFullOpen;

    FormCreate();
    SentenceExample->setFocus();
}

TSentenceSetupForm::~TSentenceSetupForm()
{
    FormDestroy();
}

// ---------------------------------------------------------------------------------------------------------------
void TSentenceSetupForm::FormCreate()
{
    FillTextList();
    SentenceExample->SetProblem(0, QStringLiteral("Vornix Mosa ABC"));
    SentenceExample->SetTyped(0, QStringLiteral("Vornax Jata CBA"));

    LoadSentenceSetup();
    edtSpeedLimit->SetValue(SentenceSetup.SpeedLimit);
    chkSpeedLimit->SetChecked(SentenceSetup.UseSpeedLimit);
    chkUseSound->SetChecked(SentenceSetup.UseSound);
    chkShowWrongJohap->SetChecked(SentenceSetup.ShowWrongJohap);
    LoadBackImages();
    FPreviewFont = SentenceFontOf(SentenceSetup);
    SetSentenceFont(SentenceExample, FPreviewFont);
    SentenceExample->SetWrongMarkColor(SentenceSetup.WrongMarkColor);

    actExerciseUpdate();
    actSelectFileUpdate();
}

void TSentenceSetupForm::FormDestroy()
{
    FreeThumbnails();
}

void TSentenceSetupForm::FormKeyDown(QObject*, uint16_t& Key, TShiftState)
{
    // Esc leaves without storing anything.
    if (Key == 27) SetModalResult(mrCancel);
}

void TSentenceSetupForm::actExerciseUpdate()
{
    const bool selected = lvText->Selected() != nullptr;
    btnLong->SetEnabled(selected);
    btnShort->SetEnabled(selected);
}

void TSentenceSetupForm::actSelectFileUpdate()
{
    lblSelectFile->setVisible(lvText->Selected() == nullptr);
}

// ---------------------------------------------------------------------------------------------------------------
void TSentenceSetupForm::FillTextList()
{
    lvText->ClearItems();
    FTexts = ListAllPracticeTexts(ProgramFolder + QStringLiteral("Text"), UserDataFolder() + QStringLiteral("Text"));
    for (const TPracticeText& text : FTexts)
        lvText->AddItem(text.Caption, (lvText->ItemCount() + 1) % 2);
}

void TSentenceSetupForm::LoadBackImages()
{
    FreeThumbnails();
    lbBackImage->ClearItems();
    for (const TBackImageItem& item : DecodeBackImages(SentenceSetup.BackImage)) {
        const int index = lbBackImage->AddItem(item.Path);
        lbBackImage->SetChecked(index, item.Checked);
        // A picture moved or deleted since stays listed, without a thumbnail.
        MakeThumbnail(index);
    }
}

void TSentenceSetupForm::StoreBackImages()
{
    QList<TBackImageItem> items;
    for (int i = 0; i < lbBackImage->Count(); ++i)
        items.append({lbBackImage->Checked(i), lbBackImage->ItemText(i)});
    SentenceSetup.BackImage = EncodeBackImages(items);
}

bool TSentenceSetupForm::MakeThumbnail(int Index, QString* Error)
{
    const QImage thumbnail = MakeThumbnailImage(lbBackImage->ItemText(Index), lbBackImage->ItemHeight(), Error);
    lbBackImage->SetObjects(Index, thumbnail.isNull() ? QVariant() : QVariant(thumbnail));
    return !thumbnail.isNull();
}

void TSentenceSetupForm::FreeThumbnails()
{
    for (int i = 0; i < lbBackImage->Count(); ++i)
        lbBackImage->SetObjects(i, QVariant());
}

void TSentenceSetupForm::lbBackImageDrawItem(TCustomListBox* Control, int Index, const TRect& Rect,
                                             TOwnerDrawState State)
{
    TCanvas* canvas = Control->Canvas();
    const bool selected = State & odSelected;
    canvas->Brush.Style = bsSolid;
    canvas->Brush.Color = selected ? clHighlight : clWindow;
    canvas->Font.Color = selected ? clHighlightText : clWindowText;
    canvas->FillRect(Rect);
    const QImage thumbnail = lbBackImage->Objects(Index).value<QImage>();
    if (!thumbnail.isNull())
        canvas->DrawImage(Bounds(Rect.Left, Rect.Top + (Rect.Height() - thumbnail.height()) / 2, thumbnail.width(),
                                 thumbnail.height()),
                          thumbnail);
    canvas->TextOut(Rect.Left + lbBackImage->ItemHeight() + 5, Rect.Top + lbBackImage->ItemHeight() / 2 - 5,
                    QFileInfo(lbBackImage->ItemText(Index)).fileName());
}

// ---------------------------------------------------------------------------------------------------------------
void TSentenceSetupForm::btnAddImageClick(QObject*)
{
    if (lbBackImage->Count() >= kMaxImages) throw Exception(QStringLiteral("10 개이상 추가할 수 없습니다."));
    if (!dlgPicture.Execute(this)) return;
    const QString path = dlgPicture.FileName;
    if (!IsStorablePicturePath(path))
        throw Exception(
            QStringLiteral("그림 파일의 경로에 '|' 문자나 줄바꿈이 있어서 추가할 수 없습니다.\r%1").arg(path));
    const int index = lbBackImage->AddItem(path);
    lbBackImage->SetChecked(index, true);
    QString why;
    if (!MakeThumbnail(index, &why))
        throw Exception(QStringLiteral("그림 파일을 읽을 수 없습니다.\r%1\r%2").arg(path, why));
}

void TSentenceSetupForm::btnDeleteImageClick(QObject*)
{
    if (MessageBox(this, QStringLiteral("선택된 이미지를 삭제하시겠습니까?"), QStringLiteral("삭제 확인"),
                   MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    const int index = lbBackImage->ItemIndex();
    if (index < 0) return;
    lbBackImage->SetObjects(index, QVariant());
    lbBackImage->DeleteItem(index);
}

void TSentenceSetupForm::btnFontClick(QObject*)
{
    dlgFont.Font = FPreviewFont;
    if (!dlgFont.Execute(this)) return;
    FPreviewFont = dlgFont.Font;
    SetSentenceFont(SentenceExample, FPreviewFont);
}

void TSentenceSetupForm::btnWrongColorClick(QObject*)
{
    dlgWrongColor.Color = SentenceExample->WrongMarkColor();
    if (dlgWrongColor.Execute(this)) SentenceExample->SetWrongMarkColor(dlgWrongColor.Color);
}

void TSentenceSetupForm::btnHelpClick(QObject*)
{
    HtmlHelpDisplayTopic(this, ProgramFolder + QStringLiteral("zavlin.chm"), QStringLiteral("문장연습.htm"));
}

void TSentenceSetupForm::btnLongClick(QObject*)
{
    StartSentenceExercise(true);
}

void TSentenceSetupForm::btnShortClick(QObject*)
{
    StartSentenceExercise(false);
}

void TSentenceSetupForm::StartSentenceExercise(bool IsLong)
{
    const int selected = lvText->ItemIndex();
    if (!lvText->Selected() || selected < 0 || selected >= FTexts.size())
        throw Exception(QStringLiteral("연습할 글을 선택하세요."));

    SentenceSetup.SpeedLimit = edtSpeedLimit->Value();
    SentenceSetup.UseSpeedLimit = chkSpeedLimit->Checked();
    SentenceSetup.UseSound = chkUseSound->Checked();
    SentenceSetup.ShowWrongJohap = chkShowWrongJohap->Checked();
    StoreBackImages();
    SentenceSetup.FontColor = FPreviewFont.Color;
    SentenceSetup.FontSize = FPreviewFont.Size();
    SentenceSetup.FontName = FPreviewFont.Name;
    SentenceSetup.FontBold = FPreviewFont.Style & fsBold;
    SentenceSetup.FontItalic = FPreviewFont.Style & fsItalic;
    SentenceSetup.WrongMarkColor = SentenceExample->WrongMarkColor();
    // A settings file that cannot be written costs the stored options, not the practice: reported once, and
    // the settings are closed so that no later save tries these writes again.
    try {
        SaveSentenceSetup();
    } catch (const Exception& e) {
        try {
            CloseSettings();
        } catch (const Exception&) {
        }
        MessageBox(this, e.Message(), QStringLiteral("Vornix 타자연습"), MB_OK | MB_ICONWARNING);
    }

    // Owned by the main window, so a window system keeps it above the menu; the dialog goes when it closes.
    if (!SentenceForm) SentenceForm = new TSentenceForm(MainForm);
    SentenceForm->StartExercise(IsLong, FTexts[selected].Path, FTexts[selected].NativePath);
    SentenceForm->show();
    SetModalResult(mrOk);
}
