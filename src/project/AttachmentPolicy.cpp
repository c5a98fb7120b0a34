#include "project/AttachmentPolicy.h"

#include "core/model/Attachments.h"

#include <QFileInfo>

namespace tepa {
namespace {

bool isExecutableFile(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() && info.isFile() && info.isExecutable();
}

} // namespace

bool isProgramOrScript(const QString& path)
{
    return attachmentOpening(path.toStdString()) == AttachmentOpening::Refuse || isExecutableFile(path);
}

} // namespace tepa
