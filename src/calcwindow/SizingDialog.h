#pragma once

#include "core/sizing/Sizing.h"

#include <QDialog>
#include <QString>
#include <QStringList>

#include <vector>

class QDialogButtonBox;
class QLabel;
class QTableWidget;

namespace tepa {

// The sizing assistant's list for the room: one line per candidate the core search returns,
// best first. Choosing a line (OK or a double click) accepts the dialog; the calculation window
// then adds the chosen candidate as its next entry.
class SizingDialog : public QDialog
{
    Q_OBJECT

public:
    struct Texts
    {
        QString title;
        QStringList headings;                               // one per column
        QString dewPointWarning;                            // shown above the list when the flow is too cold
        QString laminarFlow, highPressureDrop, lowMassFlow; // the warnings column
    };
    SizingDialog(const sizing::Outcome& outcome, engine::Mode mode, const Texts& texts, QWidget* parent);

    // The candidate of the chosen line, or null when none is chosen.
    const sizing::Candidate* chosen() const;

    QTableWidget* SizingTable = nullptr;       // the candidates
    QLabel* SizingWarning = nullptr;           // the dew-point warning (cooling)
    QDialogButtonBox* SizingButtons = nullptr; // OK (enabled with a chosen line), Cancel

private:
    std::vector<sizing::Candidate> m_candidates;
};

} // namespace tepa
