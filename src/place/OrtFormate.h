#pragma once
#include "kit/Anzeigeformate.h"

namespace talu {
// The place form reads its display rules under its own short name.
namespace ort = anzeige;
}  // namespace talu
