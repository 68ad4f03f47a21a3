#include "platform/Dialogs.h"

#include "platform/Application.h"

#include <QApplication>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontDialog>
#include <QFontInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QImageReader>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWindow>

#include <climits>

namespace {
TMessageBoxHook gHook = nullptr;
TFontDialogHook gFontHook;
TColorDialogHook gColorHook;
TOpenPictureDialogHook gPictureHook;

QWidget* OwnerOf(QWidget* owner)
{
    return owner ? owner : QApplication::activeWindow();
}

void SetSwatch(QPushButton* button, const QColor& color)
{
    QPixmap swatch(28, 14);
    swatch.fill(color);
    QPainter p(&swatch);
    p.setPen(Qt::black);
    p.drawRect(swatch.rect().adjusted(0, 0, -1, -1));
    button->setIcon(QIcon(swatch));
    button->setIconSize(swatch.size());
}

// The dialog picks a face's style by name, and a regular face may be called "Book" or "Regular"; without
// a match it falls back on the first style listed, which can be the oblique one. The style closest in
// weight and slant to the font is named here.
QString StyleNameFor(const QString& family, const QFont& font)
{
    QString best;
    int bestScore = INT_MAX;
    for (const QString& style : QFontDatabase::styles(family)) {
        // The database calls an oblique style upright; its name says otherwise.
        const bool slanted = QFontDatabase::italic(family, style) ||
                             style.contains(QLatin1String("Italic"), Qt::CaseInsensitive) ||
                             style.contains(QLatin1String("Oblique"), Qt::CaseInsensitive);
        int score = qAbs(QFontDatabase::weight(family, style) - int(font.weight())) +
                    (slanted != font.italic() ? 1000 : 0) + int(style.size());
        if (style.contains(QLatin1String("Condensed"), Qt::CaseInsensitive)) score += 500;
        if (score < bestScore) {
            bestScore = score;
            best = style;
        }
    }
    return best;
}
} // namespace

void SetMessageBoxHook(TMessageBoxHook hook)
{
    gHook = hook;
}

int MessageBox(QWidget* parent, const QString& text, const QString& caption, unsigned flags)
{
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    if (gHook) return gHook(shown, caption, flags);

    QMessageBox box(parent ? parent : QApplication::activeWindow());
    // Before the flags are placed: the box's own setWindowModality sets its window flags anew.
    box.setWindowModality(Qt::ApplicationModal);
    PlaceAboveStayOnTop(&box);
    box.setWindowTitle(caption);
    box.setText(shown);
    switch (flags & 0xF0) {
    case MB_ICONERROR:
        box.setIcon(QMessageBox::Critical);
        break;
    case MB_ICONQUESTION:
        box.setIcon(QMessageBox::Question);
        break;
    case MB_ICONWARNING:
        box.setIcon(QMessageBox::Warning);
        break;
    case MB_ICONINFORMATION:
        box.setIcon(QMessageBox::Information);
        break;
    default:
        break;
    }
    struct TButton
    {
        const char16_t* Text;
        int Result;
        QMessageBox::ButtonRole Role;
    };
    QList<TButton> buttons;
    int escapeResult = IDOK;
    switch (flags & 0x0F) {
    case MB_OKCANCEL:
        buttons = {{u"확인", IDOK, QMessageBox::AcceptRole}, {u"취소", IDCANCEL, QMessageBox::RejectRole}};
        escapeResult = IDCANCEL;
        break;
    case MB_YESNOCANCEL:
        buttons = {{u"예", IDYES, QMessageBox::YesRole},
                   {u"아니요", IDNO, QMessageBox::NoRole},
                   {u"취소", IDCANCEL, QMessageBox::RejectRole}};
        escapeResult = IDCANCEL;
        break;
    case MB_YESNO:
        buttons = {{u"예", IDYES, QMessageBox::YesRole}, {u"아니요", IDNO, QMessageBox::NoRole}};
        escapeResult = IDNO;
        break;
    default:
        buttons = {{u"확인", IDOK, QMessageBox::AcceptRole}};
        break;
    }
    QList<QPair<QAbstractButton*, int>> made;
    for (const TButton& b : buttons) {
        QPushButton* button = box.addButton(QString::fromUtf16(b.Text), b.Role);
        made.append({button, b.Result});
        if (b.Result == escapeResult) box.setEscapeButton(button);
    }
    box.setDefaultButton(static_cast<QPushButton*>(made.first().first));
    // A box sized to a short text is narrower than its caption once the frame's icon and buttons are in.
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout())) {
        const QFontMetrics fm(QApplication::font("QMdiSubWindowTitleBar"));
        // Qt's own frame under Wayland centres the caption on the whole width, with three buttons at the right.
        const int room = TApplication::OnWayland() ? 200 : 120;
        grid->addItem(new QSpacerItem(fm.horizontalAdvance(caption) + room, 0), grid->rowCount(), 0, 1,
                      grid->columnCount());
    }
    // Its own loop rather than exec(), which ends at any hide: the box may be shown again, still running,
    // where the window system will not bring it to the front (TModalKeeper).
    MarkMayBeShownAgain(&box);
    QEventLoop loop;
    QObject::connect(&box, &QDialog::finished, &loop, &QEventLoop::quit);
    // Hidden any other way than by the keeper, the box ends its run as exec() would.
    struct TEndAtHide : QObject
    {
        QEventLoop* Loop;
        explicit TEndAtHide(QEventLoop* loop) : Loop(loop) {}
        bool eventFilter(QObject* o, QEvent* e) override
        {
            if (e->type() == QEvent::Hide && !ShowingAgain(static_cast<QWidget*>(o))) Loop->quit();
            return false;
        }
    } endAtHide(&loop);
    box.installEventFilter(&endAtHide);
    box.show();
    loop.exec(QEventLoop::DialogExec);
    for (const auto& [button, result] : made)
        if (box.clickedButton() == button) return result;
    return escapeResult;
}

void ShowMessage(const QString& text)
{
    MessageBox(nullptr, text, TApplication::Title(), MB_OK);
}

QWidget* StayOnTopWindow(const QWidget* except)
{
    auto stays = [except](QWidget* w) {
        // Windows and dialogs only: a hint or a popup that stays on top is no owner for a dialog.
        const Qt::WindowType type = w ? w->windowType() : Qt::Widget;
        return w && w != except && (type == Qt::Window || type == Qt::Dialog) && w->isVisible() && !w->isMinimized() &&
               (w->windowFlags() & Qt::WindowStaysOnTopHint);
    };
    QWidget* active = QApplication::activeWindow();
    if (stays(active)) return active;
    QWidget* found = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (stays(w)) found = w;
    return found;
}

void PlaceAboveStayOnTop(QWidget* modal)
{
    if (!modal) return;
    QWidget* top = StayOnTopWindow(modal);
    if (!top) return;
    // Flags first: changing them later makes a new native window and loses the transient parent.
    if (!(modal->windowFlags() & Qt::WindowStaysOnTopHint)) {
        const bool shown = modal->isVisible();
        modal->setWindowFlag(Qt::WindowStaysOnTopHint, true);
        if (shown) modal->show();
    }
    modal->winId();
    if (QWindow* handle = modal->windowHandle()) handle->setTransientParent(top->windowHandle());
}

void SetFontDialogHook(TFontDialogHook hook)
{
    gFontHook = std::move(hook);
}

void SetColorDialogHook(TColorDialogHook hook)
{
    gColorHook = std::move(hook);
}

void SetOpenPictureDialogHook(TOpenPictureDialogHook hook)
{
    gPictureHook = std::move(hook);
}

bool TFontDialog::Execute(QWidget* owner)
{
    if (gFontHook) {
        TFont answer = Font;
        if (!gFontHook(answer)) return false;
        Font = answer;
        return true;
    }
    const QFont start = Font.ToQFont();
    QDialog dialog(OwnerOf(owner));
    dialog.setWindowTitle(QStringLiteral("글꼴"));
    auto* fonts = new QFontDialog(&dialog);
    fonts->setWindowFlags(Qt::Widget);
    fonts->setOptions(QFontDialog::DontUseNativeDialog | QFontDialog::NoButtons);
    // Escape in the embedded dialog closes only that one: the frame around it would stay, empty.
    QObject::connect(fonts, &QDialog::finished, &dialog, &QDialog::done);
    // The dialog lists real faces: show the one that stands in for a stored name.
    QFont shown = start;
    const QString resolved = QFontInfo(start).family();
    shown.setFamily(resolved);
    shown.setStyleName(StyleNameFor(resolved, start));
    fonts->setSizeGripEnabled(false);
    fonts->setCurrentFont(shown);
    const QFont shownFont = fonts->currentFont();
    QColor color = ToQColor(Font.Color);
    auto* colorLabel = new QLabel(QStringLiteral("색:"), &dialog);
    auto* colorButton = new QPushButton(QStringLiteral("색 고르기..."), &dialog);
    colorButton->setAutoDefault(false);
    SetSwatch(colorButton, color);
    QObject::connect(colorButton, &QPushButton::clicked, &dialog, [&] {
        TColorDialog picker;
        picker.Color = FromQColor(color);
        if (picker.Execute(&dialog)) {
            color = ToQColor(picker.Color);
            SetSwatch(colorButton, color);
        }
    });
    auto* buttons = new QDialogButtonBox(&dialog);
    buttons->addButton(QStringLiteral("확인"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("취소"), QDialogButtonBox::RejectRole);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto* colorRow = new QHBoxLayout;
    colorRow->addWidget(colorLabel);
    colorRow->addWidget(colorButton);
    colorRow->addStretch();
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(fonts);
    layout->addLayout(colorRow);
    layout->addWidget(buttons);
    PlaceAboveStayOnTop(&dialog);
    if (dialog.exec() != QDialog::Accepted) return false;

    const QFont chosen = fonts->currentFont();
    TFont result = Font;
    // The face that stands in for a stored name ("굴림체") keeps that name while the user leaves it.
    if (chosen.family() != resolved && chosen.family() != start.family()) result.Name = chosen.family();
    if (chosen.pointSize() > 0)
        result.SetSize(chosen.pointSize());
    else if (chosen.pixelSize() > 0)
        result.Height = -chosen.pixelSize();
    result.Style = (chosen.bold() ? TFontStyles(fsBold) : 0u) | (chosen.italic() ? TFontStyles(fsItalic) : 0u) |
                   (chosen.underline() ? TFontStyles(fsUnderline) : 0u) |
                   (chosen.strikeOut() ? TFontStyles(fsStrikeOut) : 0u);
    // A face without an italic (or bold) style shows its nearest one instead; what the user left as shown
    // keeps its stored value, since the text draws a missing style synthesised.
    if (chosen.family() == shownFont.family()) {
        TFontStyles kept = 0;
        if (chosen.bold() == shownFont.bold()) kept |= fsBold;
        if (chosen.italic() == shownFont.italic()) kept |= fsItalic;
        result.Style = (result.Style & ~kept) | (Font.Style & kept);
    }
    result.Color = FromQColor(color);
    Font = result;
    return true;
}

bool TColorDialog::Execute(QWidget* owner)
{
    if (gColorHook) {
        TColor answer = Color;
        if (!gColorHook(answer)) return false;
        Color = answer;
        return true;
    }
    // Qt's colour dialog always shows its custom colours, so cdFullOpen needs nothing more.
    QColorDialog dialog(ToQColor(Color), OwnerOf(owner));
    dialog.setOption(QColorDialog::DontUseNativeDialog);
    PlaceAboveStayOnTop(&dialog);
    if (dialog.exec() != QDialog::Accepted) return false;
    Color = FromQColor(dialog.currentColor());
    return true;
}

QString TOpenPictureDialog::Filter()
{
    QStringList patterns;
    QStringList single;
    for (const QByteArray& format : QImageReader::supportedImageFormats()) {
        const QString ext = QString::fromLatin1(format).toLower();
        patterns << QStringLiteral("*.") + ext;
        single << QStringLiteral("%1 (*.%2)").arg(ext.toUpper(), ext);
    }
    QStringList filters;
    filters << QStringLiteral("그림 파일 (%1)").arg(patterns.join(u' '));
    filters << single;
    filters << QStringLiteral("모든 파일 (*)");
    return filters.join(QStringLiteral(";;"));
}

bool TOpenPictureDialog::Execute(QWidget* owner)
{
    if (gPictureHook) {
        QString answer = FileName;
        if (!gPictureHook(answer)) return false;
        FileName = answer;
        return true;
    }
    QFileDialog dialog(OwnerOf(owner), Title.isEmpty() ? QStringLiteral("그림 열기") : Title,
                       FileName.isEmpty() ? QString() : QFileInfo(FileName).absolutePath(), Filter());
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    PlaceAboveStayOnTop(&dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
    FileName = dialog.selectedFiles().constFirst();
    return true;
}
