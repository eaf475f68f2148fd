// The image's bytes by the field they belong to, so that a person can be told which fields of a radio
// hold other bytes than intended.
#pragma once

#include "data/ModData.h"

#include <QStringList>

// The fields (as "dealer code", "band setting") in whose bytes before `end` the two images differ, in
// the image's order; a differing byte that belongs to no field is named by its offset.
QStringList DifferingFields(const InfoImageType& intended, const InfoImageType& actual, int32_t end);
// "a", "a and b", "a, b and c".
QString JoinedNames(const QStringList& names);
