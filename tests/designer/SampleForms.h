#pragma once
// Small form files the designer tests work on.

namespace designer_test {

// Button1, Edit1, Button2 and a namer. Its listing:
//   0 TButton  1 Button1  2 Button2  3 TEdit  4 Edit1  5 TComponentNamer
//   6 ComponentNamer1
inline constexpr const char* kForm =
    "object Form1: TForm1\n"
    "  Caption = 'Orders'\n"
    "  object Button1: TButton\n"
    "    Caption = 'One'\n"
    "  end\n"
    "  object Edit1: TEdit\n"
    "  end\n"
    "  object Button2: TButton\n"
    "  end\n"
    "  object ComponentNamer1: TComponentNamer\n"
    "  end\n"
    "end\n";

inline constexpr const char* kListing =
    "TButton\n\tButton1\n\tButton2\nTEdit\n\tEdit1\nTComponentNamer\n\tComponentNamer1\n";

// The same components without a namer.
inline constexpr const char* kFormWithoutNamer =
    "object Form1: TForm1\n"
    "  object Button1: TButton\n"
    "  end\n"
    "  object Edit1: TEdit\n"
    "  end\n"
    "  object Button2: TButton\n"
    "  end\n"
    "end\n";

}  // namespace designer_test
