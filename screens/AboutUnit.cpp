#include "screens/AboutUnit.h"

#include "components/EllipseAnnBtn.h"
#include "components/GradAnnBtn.h"
#include "platform/Shell.h"
#include "screens/ProgramInfo.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>

void TLinkLabel::mouseReleaseEvent(QMouseEvent* event)
{
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) && OnClick) OnClick(this);
}

namespace {
QFont LabelFont()
{
    QFont f(QStringLiteral("굴림"));
    f.setPixelSize(13);
    return f;
}

template <class T> T* AddLabel(QWidget* parent, const QString& text, int top)
{
    auto* label = new T(text, parent);
    label->setFont(LabelFont());
    label->setStyleSheet(QStringLiteral("color: black"));
    label->move(16, top);
    label->adjustSize();
    return label;
}
} // namespace

TAboutForm::TAboutForm(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Vornix v3.0"));
    setAttribute(Qt::WA_DeleteOnClose); // each opening makes a new box
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowCloseButtonHint | Qt::WindowTitleHint);
    setFixedSize(277, 221);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, ToQColor(clBtnFace));
    setPalette(pal);
    setAutoFillBackground(true);

    Image1 = new QLabel(this);
    Image1->setPixmap(QPixmap(QStringLiteral(":/icons/vornix-32.png")));
    Image1->setGeometry(16, 14, 32, 32);

    GradAnnBtn2 = new TGradAnnBtn(this);
    GradAnnBtn2->SetBounds(60, 12, 176, 37);
    GradAnnBtn2->SetCaption(QStringLiteral("Vornix "));
    GradAnnBtn2->SetBeginColor(clAqua);
    GradAnnBtn2->SetEndColor(clTeal);
    GradAnnBtn2->SetGradType(TGradAnnBtn::TGradType::gtVertCenter);
    GradAnnBtn2->SetEnabled(false);
    TFont bannerFont;
    bannerFont.Name = QStringLiteral("돋움체");
    bannerFont.Height = -27;
    bannerFont.Style = fsBold;
    bannerFont.Color = clWhite;
    GradAnnBtn2->SetFont(bannerFont);
    GradAnnBtn2->Loaded();

    Label6 = AddLabel<QLabel>(this, QStringLiteral("제작일: 2013년 6월 5일"), 60);
    Label4 = AddLabel<QLabel>(this, QStringLiteral("배포: 누구나 무료로 쓰는 공개 프로그램"), 78);
    Label2 = AddLabel<QLabel>(this, QStringLiteral("버전: 3.0"), 96);
    Label1 = AddLabel<QLabel>(this, QStringLiteral("즐겁게 연습하면 손이 먼저 기억합니다."), 114);
    Label3 = AddLabel<TLinkLabel>(this, QStringLiteral("E-Mail: ") + QLatin1String(kMakerMailAddress), 136);
    Label5 = AddLabel<TLinkLabel>(this, QStringLiteral("블로그: ") + QLatin1String(kMakerWebAddress), 154);
    for (TLinkLabel* link : {Label3, Label5})
        link->setCursor(Qt::PointingHandCursor);
    Label3->OnClick = [this](QObject* s) { Label3Click(s); };
    Label5->OnClick = [this](QObject* s) { Label5Click(s); };

    CloseBtn = new TEllipseAnnBtn(this);
    CloseBtn->SetBounds((277 - 81) / 2, 186, 81, 23);
    CloseBtn->SetCaption(QStringLiteral("닫기(&C)"));
    CloseBtn->SetBtnShape(TEllipseAnnBtn::TBtnShape::bsRoundRect);
    CloseBtn->SetDrawBorder(true);
    CloseBtn->SetFillBrush(true);
    CloseBtn->SetRespondToMouse(false);
    CloseBtn->SetUseInvalidate(true);
    CloseBtn->SetTextOffSetY(1);
    TFont buttonFont;
    buttonFont.Name = QStringLiteral("굴림");
    buttonFont.Height = -13;
    buttonFont.Color = clBlack;
    CloseBtn->SetFont(buttonFont);
    CloseBtn->OnClick = [this](QObject* s) { closeBtnClick(s); };
    CloseBtn->Loaded();
}

void TAboutForm::paintEvent(QPaintEvent* event)
{
    QDialog::paintEvent(event);
    // The bevel framing the contents.
    QPainter p(this);
    const QRect frame(6, 6, width() - 13, 172);
    p.setPen(ToQColor(clBtnShadow));
    p.drawRect(frame);
    p.setPen(ToQColor(clBtnHighlight));
    p.drawRect(frame.translated(1, 1));
}

void TAboutForm::closeBtnClick(QObject*)
{
    close();
}

void TAboutForm::Label3Click(QObject*)
{
    ShellOpen(QStringLiteral("mailto:") + QLatin1String(kMakerMailAddress));
}

void TAboutForm::Label5Click(QObject*)
{
    ShellOpen(QString::fromLatin1(kMakerWebAddress));
}
