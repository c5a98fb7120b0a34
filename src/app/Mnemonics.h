#pragma once

class QMenuBar;
class QString;

namespace tepa {

// Gives every caption of the menu bar and of its menus an Alt letter, now and whenever a caption
// is set later (the interface texts replace the captions after the menus are built): the first
// letter of the caption that no other entry of the same bar or menu has taken yet. A caption
// that already marks its letter keeps it. The windows can so be worked by keyboard alone.
void keepMnemonics(QMenuBar* bar);

// The caption as the interface text has it: without the Alt letter's mark ("&&" stays "&").
QString withoutMnemonic(const QString& caption);

} // namespace tepa
