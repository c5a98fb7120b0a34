// The information box: program title and two clickable lines that open a mail message and the
// web site through the desktop.
#include "app/TForm1.h"

#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>

#include <functional>

namespace tepa {

namespace {

constexpr std::size_t TitleText = 0;
constexpr std::size_t FirstDescriptionText = 158;
constexpr std::size_t SecondDescriptionText = 159;
constexpr std::size_t MailLineText = 161;
constexpr std::size_t WebLineText = 162;

QString interfaceText(const Session& session, std::size_t line)
{
    return QString::fromStdString(session.InterfaceTexts.line(line));
}

// Makes a label clickable: a left-button release over it runs the action.
class ClickFilter : public QObject
{
public:
    ClickFilter(QLabel* label, std::function<void()> action)
        : QObject(label)
        , m_action(std::move(action))
    {
        label->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::MouseButtonRelease &&
            static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
            m_action();
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> m_action;
};

// The link look of the mail and web lines while the box is shown.
void showAsLink(QLabel* label, const QString& caption)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, Qt::blue);
    label->setPalette(palette);
    label->setCursor(Qt::PointingHandCursor);
    label->setText(caption);
    QFont font = label->font();
    font.setUnderline(true);
    label->setFont(font);
}

// The address of a mail or web line: its caption starts with one character that is no part of it.
QString addressOf(const QLabel* label)
{
    return label->text().mid(1);
}

} // namespace

void TForm1::buildInfoBox()
{
    QWidget* host = centralWidget();

    GroupBox3 = new QGroupBox(QStringLiteral("Information"), host);
    GroupBox3->setObjectName(QStringLiteral("GroupBox3"));
    GroupBox3->setGeometry(200, 140, 400, 250);
    // Opaque: the box lies over the panels and the background picture.
    GroupBox3->setAutoFillBackground(true);

    auto label = [this](const char* name, int y, std::size_t line) {
        auto* created = new QLabel(interfaceText(m_session, line), GroupBox3);
        created->setObjectName(QString::fromLatin1(name));
        created->setGeometry(20, y, 360, 24);
        created->setAlignment(Qt::AlignCenter);
        return created;
    };
    Label10 = label("Label10", 30, TitleText);
    QFont titleFont = Label10->font();
    titleFont.setBold(true);
    // The window's font is set in pixels; the title is drawn larger.
    titleFont.setPixelSize(titleFont.pixelSize() > 0 ? titleFont.pixelSize() * 3 / 2 : 16);
    Label10->setFont(titleFont);
    Label1 = label("Label1", 66, FirstDescriptionText);
    Label3 = label("Label3", 92, SecondDescriptionText);
    Label2 = label("Label2", 130, MailLineText);
    Label4 = label("Label4", 156, WebLineText);

    Button3 = new QPushButton(QStringLiteral("OK"), GroupBox3);
    Button3->setObjectName(QStringLiteral("Button3"));
    Button3->setGeometry(160, 200, 80, 30);

    new ClickFilter(Label2, [this] { Label2Click(); });
    new ClickFilter(Label4, [this] { Label4Click(); });
    connect(Button3, &QPushButton::clicked, this, &TForm1::Button3Click);

    GroupBox3->hide();
}

void TForm1::Info2Click()
{
    GroupBox3->show();
    GroupBox3->raise();
    showAsLink(Label2, interfaceText(m_session, MailLineText));
    showAsLink(Label4, interfaceText(m_session, WebLineText));
    Label10->setText(interfaceText(m_session, TitleText));
}

namespace {

// Opens `target` ("mailto:" or "http://" and the address) through the desktop. Without a mail
// program or browser the bare address is shown instead, so that the planner can copy it.
void openAddress(platform::Shell& shell,
                 platform::Messages& messages,
                 const QString& target,
                 const QString& address)
{
    if (!shell.open(target))
        messages.showMessage(address);
}

} // namespace

void TForm1::Label2Click()
{
    const QString address = addressOf(Label2);
    Label2->setText(QStringLiteral("mailto:") + address);
    openAddress(m_services.shell, m_services.messages, Label2->text(), address);
    // Put the caption back, or a second click would open "mailto:" + "ailto:...".
    Label2->setText(interfaceText(m_session, MailLineText));
    GroupBox3->hide();
}

void TForm1::Label4Click()
{
    const QString address = addressOf(Label4);
    Label4->setText(QStringLiteral("http://") + address);
    openAddress(m_services.shell, m_services.messages, Label4->text(), address);
    Label4->setText(interfaceText(m_session, WebLineText));
    GroupBox3->hide();
}

void TForm1::Button3Click()
{
    GroupBox3->hide();
}

} // namespace tepa
