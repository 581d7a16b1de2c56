// The grid's save file ("GridData.bin"): the whole model -- sizes, texts,
// data, pictures, formatting, column settings, outline -- in our own
// versioned binary format, described in docs/grid-file.md. The file is
// written through a temporary and renamed, so a failed save leaves any
// earlier file whole.
#pragma once

#include <QString>

#include "grid/GridModel.h"

namespace vantrep::grid {

// Writes the model to `path`. Throws EngineError (errIo) naming the file when
// it cannot be written.
void WriteGridFile(const GridModel& model, const QString& path);

// Reads a file written by WriteGridFile. Throws EngineError naming the file:
// errFileNotFound when it is missing, errCorruptTable when it is not a grid
// file, is of an unknown version, or is cut short or damaged.
GridModel ReadGridFile(const QString& path);

}  // namespace vantrep::grid
