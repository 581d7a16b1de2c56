// Reads a grid file (GridData.bin) with the program's reader and writes the
// grid as the TSV export writes it: `griddata_tsv GRIDFILE OUT.tsv`. Ends with
// 1 and the reason when the file cannot be read.
#include <QCoreApplication>
#include <cstdio>

#include "engine/EngineError.h"
#include "grid/GridFile.h"
#include "grid/GridText.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: griddata_tsv GRIDFILE OUT.tsv\n");
        return 2;
    }
    try {
        const vantrep::grid::GridModel grid = vantrep::grid::ReadGridFile(QString::fromLocal8Bit(argv[1]));
        vantrep::grid::WriteGridText(grid, QString::fromLocal8Bit(argv[2]), vantrep::grid::TextLayout::Tsv);
    } catch (const vantrep::engine::EngineError& e) {
        std::fprintf(stderr, "%s\n", e.description().c_str());
        return 1;
    }
    return 0;
}
