// The image's bytes by the field they belong to, so that a person can be told which fields of a radio
// hold other bytes than intended.
#pragma once

#include "data/ModData.h"

#include <QStringList>

// The fields in whose bytes before `end` the two images differ, in the image's order, named in the
// program's language as a sentence names them ("the dealer code", "the band setting"); a differing
// byte that belongs to no field is named by its offset ("byte 200").
QStringList DifferingFields(const InfoImageType& intended, const InfoImageType& actual, int32_t end);
// "a", "a and b", "a, b and c", in English whatever the language: for the link trace.
QString JoinedNames(const QStringList& names);
