#include "data/AnsiCodePage.h"

#include <QStringDecoder>
#include <QStringEncoder>

// Linux has no ANSI code page: Qt's converters (ICU) stand in for the Windows ones, by name.

bool IsUsableCodePage(const QByteArray& name)
{
    return QStringEncoder(name.constData()).isValid() && QStringDecoder(name.constData()).isValid();
}

AnsiCodePage AnsiCodePage::System()
{
    return ForLocale(QLocale::system());
}

QByteArray AnsiCodePage::ToAnsi(const QString& text) const
{
    QStringEncoder encoder(name.constData());
    return encoder.encode(text);
}

QString AnsiCodePage::FromAnsi(QByteArrayView bytes) const
{
    QStringDecoder decoder(name.constData());
    return decoder.decode(bytes);
}
