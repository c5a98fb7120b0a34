#include "platform/qt/QtServices.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QUrl>

namespace tepa::platform {

bool QtSettings::open()
{
    // Organisation "Orva", application "kiv": the registry key Software\Orva\kiv on Windows.
    m_settings = std::make_unique<QSettings>(QStringLiteral("Orva"), QStringLiteral("kiv"));
    return m_settings->status() == QSettings::NoError;
}

std::optional<QString> QtSettings::readString(const QString& name)
{
    if (!m_settings || !m_settings->contains(name))
        return std::nullopt;
    return m_settings->value(name).toString();
}

bool QtSettings::writeString(const QString& name, const QString& value)
{
    if (!m_settings)
        return false;
    m_settings->setValue(name, value);
    m_settings->sync();
    return m_settings->status() == QSettings::NoError;
}

void QtSettings::close()
{
    m_settings.reset();
}

void QtMessages::showMessage(const QString& text)
{
    QMessageBox::information(m_owner, QApplication::applicationDisplayName(), text);
}

void QtMessages::showInformation(const QString& text)
{
    QMessageBox::information(m_owner, QStringLiteral("Information"), text);
}

bool QtMessages::askYesNo(const QString& text)
{
    return QMessageBox::question(m_owner, QApplication::applicationDisplayName(), text,
                                 QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes) == QMessageBox::Yes;
}

Answer QtMessages::askYesNoCancel(const QString& text)
{
    switch (QMessageBox::question(m_owner, QApplication::applicationDisplayName(), text,
                                  QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                                  QMessageBox::Yes)) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        return Answer::Cancel;
    }
}

void QtMessages::showError(const QString& text)
{
    QMessageBox::warning(m_owner, QApplication::applicationDisplayName(), text);
}

namespace {

void prepare(QFileDialog& dialog, const FileDialogRequest& request)
{
    dialog.setWindowTitle(request.title);
    dialog.setNameFilter(request.filter);
    dialog.setDefaultSuffix(request.defaultSuffix);
    dialog.setDirectory(request.initialDir);
    if (!request.fileName.isEmpty())
        dialog.selectFile(request.fileName);
}

} // namespace

std::optional<QString> QtFileDialogs::openFile(const FileDialogRequest& request)
{
    QFileDialog dialog(m_owner);
    prepare(dialog, request);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().front();
}

std::optional<QString> QtFileDialogs::saveFile(const FileDialogRequest& request)
{
    QFileDialog dialog(m_owner);
    prepare(dialog, request);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().front();
}

std::optional<QString> QtFileDialogs::chooseDirectory(const FileDialogRequest& request)
{
    QFileDialog dialog(m_owner);
    dialog.setWindowTitle(request.title);
    dialog.setDirectory(request.initialDir);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().front();
}

bool QtShell::open(const QString& target)
{
    const bool isAddress = target.startsWith(QStringLiteral("mailto:"), Qt::CaseInsensitive) ||
                           target.startsWith(QStringLiteral("http://"), Qt::CaseInsensitive) ||
                           target.startsWith(QStringLiteral("https://"), Qt::CaseInsensitive);
    const QUrl url = isAddress ? QUrl(target) : QUrl::fromLocalFile(target);
    return QDesktopServices::openUrl(url);
}

} // namespace tepa::platform
