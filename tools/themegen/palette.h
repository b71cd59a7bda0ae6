#pragma once

#include <QColor>

// The theme's colours in one place, so the pictures and the style sheet agree.
// Warm and bright for the children, but text always stays dark on light.
namespace Palette {

inline const QColor ink{0x3a, 0x2e, 0x26};        // body text: warm near-black
inline const QColor inkSoft{0x7a, 0x62, 0x50};
inline const QColor paper{0xff, 0xf8, 0xe9};
inline const QColor paperDeep{0xfb, 0xea, 0xc8};
inline const QColor white{0xff, 0xff, 0xff};

inline const QColor coral{0xe9, 0x6d, 0x3f};       // title bands: white and black text both read on it
inline const QColor orange{0xff, 0x9a, 0x3c};
inline const QColor sun{0xff, 0xd1, 0x47};
inline const QColor sky{0x5b, 0xc0, 0xeb};
inline const QColor skyPale{0xd9, 0xf1, 0xff};
inline const QColor grass{0x72, 0xc1, 0x4a};
inline const QColor berry{0xe8, 0x4d, 0x6a};
inline const QColor violet{0x9b, 0x6f, 0xd0};
inline const QColor teal{0x22, 0xb0, 0x9f};
inline const QColor blue{0x3f, 0x8c, 0xe0};
inline const QColor wood{0xc9, 0x86, 0x4a};        // the main window's rim
inline const QColor grey{0xa8, 0xa2, 0x9c};

} // namespace Palette
