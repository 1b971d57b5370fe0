#pragma once
// Width of the code editor in percent of the main window's client width.
// Program-wide for the run; not kept in the settings file.
inline int &editorWidthPercent() {
    static int percent = 50;
    return percent;
}
