// The repair of a detailed structure's column order: explicit Divisor values
// survive only when each is used once and only by displayed fields;
// otherwise every Divisor of the working copy becomes 0 and the listing
// falls back to file order.
#pragma once

#include <QString>

#include "engine/Connection.h"
#include "session/Ui.h"

namespace vantrep::session {

// `NormalizeDivisor` on the structure file `sStructFile` through `cnData`.
// An engine error is shown through `ui` and ends the repair; opening goes on.
void NormalizeDivisor(engine::Connection& cnData, const QString& sStructFile, Ui& ui);

}  // namespace vantrep::session
