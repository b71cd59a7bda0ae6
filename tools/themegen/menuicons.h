#pragma once

class OutputFolder;

// The two programs' icons for the desktop's menus, in the freedesktop icon theme's layout
// (icons/hicolor/NxN/apps), drawn afresh at every size rather than scaled from one picture.
class MenuIcons
{
public:
    explicit MenuIcons(OutputFolder &out);
    void write();

private:
    OutputFolder &m_out;
};
