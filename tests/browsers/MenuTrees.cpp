#include "MenuTrees.h"

namespace kivaro::MenuTrees {

using namespace Qt::StringLiterals;
using F = FakeMenuBarAccess;
using Node = F::Node;

namespace {

Node safariMenu() {
    return F::menu(u"Safari"_s,
                   {F::item(u"About Safari"_s), F::separator(),
                    F::item(u"Settings\u2026"_s, u","_s), F::separator(),
                    F::item(u"Hide Safari"_s, u"h"_s),
                    F::item(u"Hide Others"_s, u"h"_s, Raw::option), F::item(u"Show All"_s),
                    F::separator(), F::item(u"Quit Safari"_s, u"q"_s)});
}

Node safariFile() {
    return F::menu(
        u"File"_s,
        {F::item(u"New Window"_s, u"n"_s), F::item(u"New Private Window"_s, u"n"_s, Raw::shift),
         F::item(u"New Tab"_s, u"t"_s), F::item(u"New Empty Tab Group"_s),
         F::item(u"Open File\u2026"_s, u"o"_s), F::separator(),
         F::item(u"Close Window"_s, u"w"_s, Raw::shift), F::item(u"Close Tab"_s, u"w"_s),
         F::disabled(u"Close Other Tabs"_s, u"w"_s, Raw::option),
         F::item(u"Save As\u2026"_s, u"s"_s), F::item(u"Share\u2026"_s),
         F::item(u"Export as PDF\u2026"_s), F::separator(), F::item(u"Print\u2026"_s, u"p"_s)});
}

Node safariEdit() {
    return F::menu(
        u"Edit"_s,
        {F::item(u"Undo"_s, u"z"_s), F::item(u"Redo"_s, u"z"_s, Raw::shift), F::separator(),
         F::item(u"Copy"_s, u"c"_s), F::item(u"Paste"_s, u"v"_s), F::separator(),
         F::menu(u"Find"_s, {F::item(u"Find\u2026"_s, u"f"_s), F::item(u"Find Next"_s, u"g"_s),
                             F::item(u"Find Previous"_s, u"g"_s, Raw::shift)}),
         F::item(u"Emoji & Symbols"_s, u" "_s, Raw::control)});
}

Node safariView(bool toggled) {
    return F::menu(u"View"_s,
                   {F::item(toggled ? u"Hide Sidebar"_s : u"Show Sidebar"_s, u"l"_s, Raw::shift),
                    F::item(u"Show Tab Overview"_s, u"\\"_s, Raw::shift), F::separator(),
                    F::item(u"Stop"_s, u"."_s), F::item(u"Reload Page"_s, u"r"_s),
                    F::item(u"Reload Page From Origin"_s, u"r"_s, Raw::option),
                    F::item(u"Reload Without Content Blockers"_s),
                    F::item(u"Reload and Show IP Address"_s), F::separator(),
                    F::disabled(u"Show Reader"_s, u"r"_s, Raw::shift),
                    F::menu(u"Text Encoding"_s,
                            {F::item(u"Default"_s), F::separator(), F::item(u"Unicode (UTF-8)"_s)}),
                    F::separator(), F::item(u"Show Downloads"_s, u"l"_s, Raw::option),
                    F::item(u"Enter Full Screen"_s, u"f"_s, Raw::control)});
}

Node safariHistory() {
    return F::menu(u"History"_s,
                   {F::item(u"Show All History"_s, u"y"_s), F::item(u"Back"_s, u"["_s),
                    F::item(u"Forward"_s, u"]"_s), F::item(u"Home"_s, u"h"_s, Raw::shift),
                    F::separator(), F::item(u"Reopen Last Closed Tab"_s, u"t"_s, Raw::shift),
                    F::item(u"Reopen All Windows from Last Session"_s),
                    F::menu(u"Recently Closed"_s, {F::item(u"Example Domain"_s)}), F::separator(),
                    F::item(u"Example Domain"_s), F::item(u"Kivaro \u2014 Home"_s), F::separator(),
                    F::item(u"Clear History\u2026"_s)});
}

Node safariBookmarks() {
    return F::menu(u"Bookmarks"_s, {F::item(u"Show Bookmarks"_s, u"b"_s, Raw::option),
                                    F::item(u"Add Bookmark\u2026"_s, u"d"_s)});
}

Node safariDevelop(bool toggled) {
    return F::menu(
        u"Develop"_s,
        {F::menu(u"Open Page With"_s,
                 {F::item(u"Google Chrome"_s), F::item(u"Firefox"_s), F::item(u"Other\u2026"_s)}),
         F::menu(u"User Agent"_s,
                 {F::item(u"Default (Automatically Chosen)"_s), F::separator(),
                  F::item(u"Safari \u2014 iPhone"_s), F::item(u"Safari \u2014 iPad"_s),
                  F::item(u"Safari \u2014 iPhone"_s), F::item(u"Other\u2026"_s)}),
         F::separator(),
         F::item(toggled ? u"Close Web Inspector"_s : u"Show Web Inspector"_s, u"i"_s, Raw::option),
         F::item(toggled ? u"Hide JavaScript Console"_s : u"Show JavaScript Console"_s, u"c"_s,
                 Raw::option),
         F::item(toggled ? u"Hide Page Source"_s : u"Show Page Source"_s, u"u"_s, Raw::option),
         F::item(u"Show Page Resources"_s, u"a"_s, Raw::option),
         F::item(u"Start Element Selection"_s, u"c"_s, Raw::shift),
         F::item(toggled ? u"Stop Timeline Recording"_s : u"Start Timeline Recording"_s, u"t"_s,
                 Raw::option | Raw::shift),
         F::separator(),
         F::item(toggled ? u"Exit Responsive Design Mode"_s : u"Enter Responsive Design Mode"_s,
                 u"r"_s, Raw::control),
         F::item(u"Empty Caches"_s, u"e"_s, Raw::option),
         F::menu(u"Service Workers"_s, {F::disabled(u"No Service Workers"_s)}),
         F::menu(u"Web Extension Background Content"_s, {F::item(u"uBlock Origin Lite"_s)}),
         F::separator(),
         F::item(u"Connect Web Inspector"_s),
         F::item(u"Inspect Apps and Devices"_s),
         F::separator(),
         F::item(u"Feature Flags\u2026"_s),
         F::item(u"Developer Settings\u2026"_s)});
}

Node safariWindow() {
    return F::menu(u"Window"_s,
                   {F::item(u"Minimize"_s, u"m"_s), F::item(u"Zoom"_s), F::separator(),
                    F::item(u"Move Tab to New Window"_s), F::item(u"Merge All Windows"_s),
                    F::item(u"Pin Tab"_s), F::item(u"Go To Next Tab Group"_s), F::separator(),
                    F::item(u"Bring All to Front"_s), F::separator(),
                    F::item(u"Example Domain"_s)});
}

Node help() {
    return F::menu(u"Help"_s, {F::item(u"Search"_s), F::item(u"Help"_s, u"?"_s)});
}

Node safariBar(bool toggled) {
    return F::bar({safariMenu(), safariFile(), safariEdit(), safariView(toggled), safariHistory(),
                   safariBookmarks(), safariDevelop(toggled), safariWindow(), help()});
}

Node chromiumFile() {
    return F::menu(u"File"_s,
                   {F::item(u"New Tab"_s, u"t"_s), F::item(u"New Window"_s, u"n"_s),
                    F::item(u"New Incognito Window"_s, u"n"_s, Raw::shift),
                    F::item(u"Reopen Closed Tab"_s, u"t"_s, Raw::shift),
                    F::item(u"Open Location\u2026"_s, u"l"_s), F::separator(),
                    F::item(u"Close Window"_s, u"w"_s, Raw::shift), F::item(u"Close Tab"_s, u"w"_s),
                    F::menu(u"Share"_s, {F::item(u"Copy Link"_s), F::item(u"Cast\u2026"_s)}),
                    F::item(u"Print\u2026"_s, u"p"_s)});
}

Node chromiumView() {
    return F::menu(u"View"_s,
                   {F::item(u"Always Show Bookmarks Bar"_s, u"b"_s, Raw::shift), F::separator(),
                    F::item(u"Stop"_s, u"."_s), F::item(u"Reload This Page"_s, u"r"_s),
                    F::item(u"Force Reload This Page"_s, u"r"_s, Raw::shift), F::separator(),
                    F::item(u"Enter Full Screen"_s, u"f"_s, Raw::control), F::separator(),
                    F::menu(u"Developer"_s,
                            {F::item(u"View Source"_s, u"u"_s, Raw::option),
                             F::item(u"Developer Tools"_s, u"i"_s, Raw::option),
                             F::item(u"Inspect Elements"_s, u"c"_s, Raw::option),
                             F::item(u"JavaScript Console"_s, u"j"_s, Raw::option), F::separator(),
                             F::item(u"Allow JavaScript from Apple Events"_s)})});
}

Node chromiumTab() {
    return F::menu(u"Tab"_s, {F::item(u"Select Next Tab"_s, u"\t"_s, Raw::control | Raw::noCommand),
                              F::item(u"Duplicate Tab"_s), F::item(u"Pin Tab"_s),
                              F::disabled(u"Close Other Tabs"_s), F::item(u"Close Tab"_s, u"w"_s)});
}

Node chromiumWindow() {
    return F::menu(u"Window"_s,
                   {F::item(u"Minimize"_s, u"m"_s), F::separator(),
                    F::item(u"Downloads"_s, u"j"_s, Raw::shift), F::item(u"Task Manager"_s),
                    F::separator(), F::item(u"Bring All to Front"_s), F::item(u"New Tab"_s)});
}

} // namespace

Node safari() {
    return safariBar(false);
}

Node safariToggled() {
    return safariBar(true);
}

Node chromium() {
    return F::bar(
        {F::menu(u"Chromium"_s,
                 {F::item(u"About Chromium"_s), F::item(u"Quit Chromium"_s, u"q"_s)}),
         chromiumFile(),
         F::menu(u"Edit"_s, {F::item(u"Copy"_s, u"c"_s), F::item(u"Paste and Match Style"_s, u"v"_s,
                                                                 Raw::option | Raw::shift)}),
         chromiumView(),
         F::menu(u"History"_s,
                 {F::item(u"Show Full History"_s, u"y"_s), F::item(u"Example Domain"_s)}),
         F::menu(u"Bookmarks"_s, {F::item(u"Bookmark Manager"_s, u"b"_s, Raw::option)}),
         F::menu(u"Profiles"_s, {F::item(u"Work"_s)}), chromiumTab(), chromiumWindow(), help()});
}

} // namespace kivaro::MenuTrees
