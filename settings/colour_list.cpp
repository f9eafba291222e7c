#include "settings/colour_list.h"

QList<ColourEntry> ColourList(const QPalette &palette) {
    QList<ColourEntry> list = {
        {"clBlack", QColor(0, 0, 0)},
        {"clMaroon", QColor(128, 0, 0)},
        {"clGreen", QColor(0, 128, 0)},
        {"clOlive", QColor(128, 128, 0)},
        {"clNavy", QColor(0, 0, 128)},
        {"clPurple", QColor(128, 0, 128)},
        {"clTeal", QColor(0, 128, 128)},
        {"clGray", QColor(128, 128, 128)},
        {"clSilver", QColor(192, 192, 192)},
        {"clRed", QColor(255, 0, 0)},
        {"clLime", QColor(0, 255, 0)},
        {"clYellow", QColor(255, 255, 0)},
        {"clBlue", QColor(0, 0, 255)},
        {"clFuchsia", QColor(255, 0, 255)},
        {"clAqua", QColor(0, 255, 255)},
        {"clWhite", QColor(255, 255, 255)},
        {"clMoneyGreen", QColor(192, 220, 192)},
        {"clSkyBlue", QColor(166, 202, 240)},
        {"clCream", QColor(255, 251, 240)},
        {"clMedGray", QColor(160, 160, 164)},
    };
    // The Windows system colours, each taken from the desktop palette role that plays its
    // part here (the Windows system-colour index in brackets).
    const auto role = [&palette](QPalette::ColorGroup group, QPalette::ColorRole colourRole) {
        return palette.color(group, colourRole);
    };
    constexpr auto A = QPalette::Active;
    constexpr auto I = QPalette::Inactive;
    constexpr auto D = QPalette::Disabled;
    list += {
        {"clActiveBorder", role(A, QPalette::Window)},                           // (10)
        {"clActiveCaption", role(A, QPalette::Highlight)},                       // (2)
        {"clAppWorkSpace", role(A, QPalette::Mid)},                              // (12)
        {"clBackground", role(A, QPalette::Dark)},                               // (1) the desktop
        {"clBtnFace", role(A, QPalette::Button)},                                // (15)
        {"clBtnHighlight", role(A, QPalette::Light)},                            // (20)
        {"clBtnShadow", role(A, QPalette::Dark)},                                // (16)
        {"clBtnText", role(A, QPalette::ButtonText)},                            // (18)
        {"clCaptionText", role(A, QPalette::HighlightedText)},                   // (9)
        {"clGradientActiveCaption", role(A, QPalette::Highlight).lighter(130)},  // (27)
        {"clGradientInactiveCaption", role(I, QPalette::Highlight).lighter(130)},  // (28)
        {"clGrayText", role(D, QPalette::Text)},                                   // (17)
        {"clHighlight", role(A, QPalette::Highlight)},                             // (13)
        {"clHighlightText", role(A, QPalette::HighlightedText)},                   // (14)
        {"clHotLight", role(A, QPalette::Link)},                                   // (26)
        {"clInactiveBorder", role(I, QPalette::Window)},                           // (11)
        {"clInactiveCaption", role(I, QPalette::Mid)},                             // (3)
        {"clInactiveCaptionText", role(I, QPalette::WindowText)},                  // (19)
        {"clInfoBk", role(A, QPalette::ToolTipBase)},                              // (24)
        {"clInfoText", role(A, QPalette::ToolTipText)},                            // (23)
        {"clMenu", role(A, QPalette::Window)},                                     // (4)
        {"clMenuBar", role(A, QPalette::Window)},                                  // (30)
        {"clMenuHighlight", role(A, QPalette::Highlight)},                         // (29)
        {"clMenuText", role(A, QPalette::WindowText)},                             // (7)
        {"clScrollBar", role(A, QPalette::Midlight)},                              // (0)
        {"cl3DDkShadow", role(A, QPalette::Shadow)},                               // (21)
        {"cl3DLight", role(A, QPalette::Midlight)},                                // (22)
        {"clWindow", role(A, QPalette::Base)},                                     // (5)
        {"clWindowFrame", role(A, QPalette::WindowText)},                          // (6)
        {"clWindowText", role(A, QPalette::Text)},                                 // (8)
    };
    return list;
}
