// label_texts.cpp: the labels, what each means, and why a file was not read, in the user's words.
#include "analysis/label_texts.h"

#include <iterator>

namespace kavren {
namespace {

constexpr std::wstring_view kOnlineOnlyText =
    L"仅联机可用：文件的内容不在这台电脑上，读取开头也会让 Windows 下载整个文件，所以没有读取。要分析它，"
    L"请在资源管理器中右击它，选择“始终保留在此设备上”，下载完成后重新启动本程序。";

// By the code's value. Over a label the user reads which mark was found and
// what Notepad calls that encoding today (and, for the UTF-16 ones, what its
// older versions called it, which is where the labels come from). What a
// file without a mark holds, the row's verdict says beside its meaning.
struct CodeTexts {
  StaticText label;
  std::wstring_view meaning;
};
constexpr CodeTexts kCodeTexts[] = {
    {StaticText(L"ANSI"), L"文件开头没有字节顺序标记（BOM）。"},
    {StaticText(L"Unicode"),
     L"文件以 UTF-16 小端的字节顺序标记（BOM，FF FE）开头。记事本称之为“UTF-16 LE”，旧版记事本称“Unicode”。"},
    {StaticText(L"UUnicodeBigEndian"),
     L"文件以 UTF-16 大端的字节顺序标记（BOM，FE FF）开头。记事本称之为“UTF-16 BE”，旧版记事本称“Unicode big "
     L"endian”。"},
    {StaticText(L"UTF8"), L"文件以 UTF-8 的字节顺序标记（BOM，EF BB BF）开头。记事本称之为“带有 BOM 的 UTF-8”。"},
    {StaticText(L"无法读取"), {}},
    {StaticText(L"仅联机"), kOnlineOnlyText},
};
static_assert(std::size(kCodeTexts) == static_cast<std::size_t>(EncodingCode::kOnlineOnly) + 1);

// By the kind's value.
constexpr std::wstring_view kFailureTexts[] = {
    {},
    L"找不到文件：文件或它所在的文件夹已不存在。",
    L"拒绝访问：没有读取这个文件的权限。",
    L"文件正被另一个程序使用，且不允许其他程序读取。",
    L"这不是普通文件，而是文件夹、设备、管道或系统保留的名称。",
    L"路径太长：Windows 无法打开超过 32767 个字符的路径。",
    L"读取时出错。",
    L"空文件（0 字节）：文件没有任何内容，没有字节顺序标记，常见于下载或保存失败。",
    kOnlineOnlyText,
};
static_assert(std::size(kFailureTexts) == static_cast<std::size_t>(FailureKind::kOnlineOnly) + 1);

}  // namespace

StaticText LabelForCode(EncodingCode code) noexcept {
  const auto index = static_cast<std::size_t>(code);
  // A code from nowhere was not found to begin with a mark.
  return index < std::size(kCodeTexts) ? kCodeTexts[index].label : kCodeTexts[0].label;
}

std::wstring_view LabelMeaning(std::wstring_view label) noexcept {
  for (const CodeTexts& texts : kCodeTexts) {
    if (texts.label.view() == label) return texts.meaning;
  }
  return {};
}

std::wstring_view ContentText(ContentVerdict content) noexcept {
  struct Texts {
    ContentKind kind;
    std::wstring_view whole;
    std::wstring_view head;
  };
  static constexpr Texts kTexts[] = {
      {ContentKind::kOnlyAscii, L"只有 ASCII 字符：按 GBK 或 UTF-8 读都一样，无需转换。",
       L"前 4 KB 只有 ASCII 字符：这一段按 GBK 或 UTF-8 读都一样；4 KB 之后的内容（如果有）没有读取。"},
      {ContentKind::kUtf8, L"内容是 UTF-8（没有 BOM）：记事本称之为“UTF-8”，不要再当作 GBK 转换。",
       L"前 4 KB 的内容是 UTF-8（没有 BOM）：记事本称之为“UTF-8”，不要再当作 GBK 转换。"},
      {ContentKind::kNotUtf8, L"内容不是 UTF-8：可能是 GBK 等本地编码；要转换成 UTF-8 的是这类文件。",
       L"前 4 KB 的内容不是 UTF-8：可能是 GBK 等本地编码；要转换成 UTF-8 的是这类文件。"},
      {ContentKind::kNulBytes, L"含有 NUL 字节：可能是没有 BOM 的 UTF-16 或 UTF-32，也可能不是文本文件。",
       L"前 4 KB 含有 NUL 字节：可能是没有 BOM 的 UTF-16 或 UTF-32，也可能不是文本文件。"},
  };
  for (const Texts& texts : kTexts) {
    if (texts.kind == content.kind) return content.head_only ? texts.head : texts.whole;
  }
  return {};
}

std::wstring_view FailureText(FailureKind kind) noexcept {
  const auto index = static_cast<std::size_t>(kind);
  return index < std::size(kFailureTexts) ? kFailureTexts[index]
                                          : kFailureTexts[static_cast<std::size_t>(FailureKind::kOther)];
}

}  // namespace kavren
