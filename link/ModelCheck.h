// The radio's identity reply, the type-name mappings and the model check.
#pragma once

#include <QByteArray>
#include <QString>

bool ParseIdentReply(const QByteArray& reply);
QString ToRadioTypeName(const QString& text);
QString ToDisplayTypeName(const QString& text);
bool IsKnownRadioType(const QString& windowType, const QString& radioType);
bool IsSameRadioType(const QString& windowType, const QString& radioType);
bool CheckModel();
