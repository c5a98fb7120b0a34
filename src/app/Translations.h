#pragma once

class QCoreApplication;

namespace tepa {

// Gives Qt's own dialog texts (message box buttons, file dialogs) the language of the interface
// texts, German, from the Qt translations installed with the system. Run before the first
// dialog. False when no translation was found; the dialogs then keep Qt's English.
bool installQtTranslations(QCoreApplication& app);

} // namespace tepa
