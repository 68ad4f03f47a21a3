#pragma once
// The About box: the program's icon, a gradient title, date, status, version, a notice and the maker's
// mail and web addresses, which open on a click.

#include <QDialog>
#include <QLabel>

class TEllipseAnnBtn;
class TGradAnnBtn;

// A label that reports clicks (the plain label of the class library has an OnClick).
class TLinkLabel : public QLabel
{
    Q_OBJECT
public:
    using QLabel::QLabel;
    std::function<void(QObject*)> OnClick;

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

class TAboutForm : public QDialog
{
    Q_OBJECT
public:
    explicit TAboutForm(QWidget* parent = nullptr);

    QLabel* Image1;
    TGradAnnBtn* GradAnnBtn2;
    QLabel* Label6;
    QLabel* Label4;
    QLabel* Label2;
    QLabel* Label1;
    TLinkLabel* Label3;
    TLinkLabel* Label5;
    TEllipseAnnBtn* CloseBtn;

    void closeBtnClick(QObject* Sender);
    void Label3Click(QObject* Sender);
    void Label5Click(QObject* Sender);

protected:
    void paintEvent(QPaintEvent* event) override;
};
