#pragma once

#include "core/model/LabelDesign.h"
#include "core/model/LabelRun.h"

#include <QDate>

// The run a design prints today: every text cleaned and cut to its type's
// room, the date stamps made from `today` and the date adjust, the free
// texts taken (the leading non-empty lines, at most 60), and a type 1 design
// without an upper text turned into type 13. Pure: the same design and day
// always give the same run.
LabelRun freeze(const LabelDesign& design, const QDate& today);
