// A file that breaks both rules: the layer check must refuse this folder.
#pragma once

#include <QWidget>

#include "analysis/SummaryGrid.h"
