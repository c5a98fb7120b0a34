#include "app/Mnemonics.h"

#include <QAction>
#include <QActionEvent>
#include <QEvent>
#include <QMenu>
#include <QMenuBar>
#include <QSet>
#include <QString>

namespace tepa {
namespace {

// The letter a caption marks with "&", lower case, or a null character.
QChar markedLetter(const QString& caption)
{
    for (qsizetype i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != QLatin1Char('&'))
            continue;
        if (caption[i + 1] != QLatin1Char('&'))
            return caption[i + 1].toLower();
        ++i; // "&&" is a literal "&"
    }
    return {};
}

void markLetters(const QWidget* owner)
{
    QSet<QChar> taken;
    for (const QAction* action : owner->actions())
        if (const QChar letter = markedLetter(action->text()); !letter.isNull())
            taken.insert(letter);
    for (QAction* action : owner->actions()) {
        const QString caption = action->text();
        if (action->isSeparator() || caption.isEmpty() || !markedLetter(caption).isNull())
            continue;
        for (qsizetype i = 0; i < caption.size(); ++i) {
            const QChar letter = caption[i].toLower();
            if (!caption[i].isLetterOrNumber() || taken.contains(letter))
                continue;
            taken.insert(letter);
            QString marked = caption;
            marked.replace(QLatin1Char('&'), QStringLiteral("&&"));
            // Only characters before i can have been doubled: count them.
            const qsizetype at = i + caption.left(i).count(QLatin1Char('&'));
            action->setText(marked.insert(at, QLatin1Char('&')));
            break;
        }
    }
}

class MnemonicKeeper : public QObject
{
public:
    explicit MnemonicKeeper(QMenuBar* bar)
        : QObject(bar)
    {
        watch(bar);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::ActionAdded || event->type() == QEvent::ActionChanged) {
            auto* owner = static_cast<QWidget*>(watched);
            if (event->type() == QEvent::ActionAdded)
                if (QMenu* menu = static_cast<QActionEvent*>(event)->action()->menu<QMenu*>())
                    watch(menu);
            markLetters(owner);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    void watch(QWidget* owner)
    {
        owner->installEventFilter(this);
        for (const QAction* action : owner->actions())
            if (auto* menu = action->menu<QMenu*>())
                watch(menu);
        markLetters(owner);
    }
};

} // namespace

void keepMnemonics(QMenuBar* bar)
{
    new MnemonicKeeper(bar);
}

QString withoutMnemonic(const QString& caption)
{
    QString plain;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == QLatin1Char('&') && i + 1 < caption.size())
            ++i;
        plain += caption[i];
    }
    return plain;
}

} // namespace tepa
