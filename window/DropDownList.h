// A pick-only drop-down list whose Click runs for a choice of the program exactly as for the
// user's: Qt's own signals do not (currentIndexChanged stays silent when the same entry is chosen
// again, activated comes only from the user).
#pragma once

#include <QComboBox>
#include <QString>

class DropDownList : public QComboBox
{
    Q_OBJECT
public:
    explicit DropDownList(QWidget* parent = nullptr);

    // Selects the entry and runs Click, also when it is selected already. An index outside the
    // list clears the selection and runs nothing: no user can choose "nothing".
    void SelectListEntry(int index);
    // Selects the first entry equal to `text` (whole text, same capitals) as SelectListEntry does.
    // Without such an entry nothing changes and false comes back.
    bool SelectListText(const QString& text);

signals:
    void Click();
};
