#include "window/DropDownList.h"

DropDownList::DropDownList(QWidget* parent) : QComboBox(parent)
{
    setEditable(false);
    // Mouse, keyboard and wheel choices of the user all arrive as activated, the same entry included.
    connect(this, &QComboBox::activated, this, &DropDownList::Click);
}

void DropDownList::SelectListEntry(int index)
{
    if (index < 0 || index >= count()) {
        setCurrentIndex(-1);
        return;
    }
    setCurrentIndex(index);
    emit Click();
}

bool DropDownList::SelectListText(const QString& text)
{
    const int index = findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index < 0)
        return false;
    SelectListEntry(index);
    return true;
}
