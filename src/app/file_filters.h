// The filter list of the panes' open and save dialogs: "description|patterns"
// pairs, patterns separated by ";".
#pragma once

namespace rd {

inline constexpr const char* kPaneFileFilter =
    "テキスト(*.txt)|*.txt|"
    "データ(*.csv,*.dat,*.data,*.xml)|*.csv;*.dat;*.data;*.xml|"
    "プログラム(*.c,*.cpp,*.h,*.java,*.pas;*.sql)|*.c;*.cpp;*.h;*.java;*.pas;*.sql|"
    "ＷＥＢ(*.htm,*.html,*.jsp,*.js,*.vbs,*.css,*.xml,*.dtd)|*.htm;*.html;*.jsp;*.js;*.vbs;*.css;*.xml;*.dtd|"
    "システム(*.bat,*.ini,*.inf)|*.bat;*.ini;*.inf|"
    "全てのファイル(*.*)|*.*";

}  // namespace rd
