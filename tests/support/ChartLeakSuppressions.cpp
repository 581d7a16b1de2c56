// Leak checker suppressions for the test binaries that draw charts. A chart's
// graphics items (rectangles, widgets, texts and brushes inside its scene) are
// reported as left behind when its view goes; the reported stacks end inside
// Qt's own libraries, whose frames cannot be walked further, so no frame of
// this program can be named. Only the binaries that draw charts link this.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libQt6Gui.so\n"
           "leak:libQt6Widgets.so\n"
           "leak:libQt6Core.so\n"
           "leak:libQt6Charts.so\n";
}
