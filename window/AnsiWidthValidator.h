// Keeps a field's text within its width in the radio, counted in bytes of the radio's code page,
// so that what the user types is what reaches the radio and nothing is cut silently on the way.
#pragma once

#include "data/AnsiCodePage.h"
#include <QString>

#include <QValidator>

class AnsiWidthValidator : public QValidator
{
    Q_OBJECT
public:
    AnsiWidthValidator(int width, const AnsiCodePage& page, QObject* parent);

    // A typed character that would not fit, or a control character, is refused. Inserted text (paste,
    // input method) is cut before its first control character (a cell pasted from a spreadsheet
    // brings its line break, a row its tabs) and to the longest start that still fits, at a character
    // boundary.
    State validate(QString& input, int& pos) const override;

    // The program is about to put this text into the field: it is taken as it is, control characters
    // and all (a radio's own text, which a write gives back as it was).
    void Expect(const QString& text) const { accepted = text; }

    // The longest start of `text` that fits the width. Text the program puts into the field goes
    // through here first.
    QString FittingText(const QString& text) const;

    int ByteWidth() const { return byteWidth; }

private:
    int byteWidth;
    AnsiCodePage codePage;
    mutable QString accepted; // the text as last accepted, to tell what an edit inserted
};
