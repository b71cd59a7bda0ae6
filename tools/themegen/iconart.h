#pragma once

class OutputFolder;

// Icons the program places itself: group badges, tree folders, markbook badges,
// header strips, check boxes and the application icon.
class IconArt
{
public:
    explicit IconArt(OutputFolder &out);
    void write();

private:
    void writeApplicationIcon();
    void writeGroupIcons();
    void writeTreeIcons();
    void writeMarks();
    void writeHeaderAndSplitter();
    void writeCheckBoxes();
    void writeComboArrow();

    OutputFolder &m_out;
};
