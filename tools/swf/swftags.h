#ifndef SWFTAGS_H
#define SWFTAGS_H

// The tag codes the writer uses.
namespace SwfTag {
enum Code {
    End = 0, ShowFrame = 1, SetBackgroundColor = 9, DoAction = 12, DefineBitsJpeg2 = 21,
    PlaceObject2 = 26, RemoveObject2 = 28, DefineShape3 = 32, DefineButton2 = 34, DefineBitsJpeg3 = 35,
    DefineBitsLossless2 = 36, DefineEditText = 37, DefineSprite = 39, FrameLabel = 43, DefineFont2 = 48,
    FileAttributes = 69,
};
}

#endif
