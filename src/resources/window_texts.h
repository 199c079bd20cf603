#pragma once

// The texts of the part list's filter and of the picture and catalogue
// exports of the File menu, in UTF-8. "%1" to "%4" are replaced by arguments.
namespace zanli::texts {

inline constexpr const char* kFilterPlaceholder = "検索";

inline constexpr const char* kExportPictureMenu = "画像として書き出し…";
inline constexpr const char* kExportCatalogMenu = "ｶﾀﾛｸﾞをPDFに書き出し…";
inline constexpr const char* kExportPictureCaption = "画像として書き出し";
inline constexpr const char* kExportCatalogCaption = "ｶﾀﾛｸﾞをPDFに書き出し";
inline constexpr const char* kPngType = "PNG 画像 (*.png)";
inline constexpr const char* kSvgType = "SVG 画像 (*.svg)";
inline constexpr const char* kPdfType = "PDF (*.pdf)";
inline constexpr const char* kZoomLabel = "倍率(&Z):";
inline constexpr const char* kPerPageLabel = "1ﾍﾟｰｼﾞの部品数(&P):";

// %1 the part, %2 x %3 the drawing's size, %4 the most pixels drawn.
inline constexpr const char* kPictureTooLarge =
    "%1 は大きすぎるため画像にできません。\n図は %2 x %3 ﾋﾟｸｾﾙで、上限の %4 ﾋﾟｸｾﾙを超えています";
inline constexpr const char* kPngEncodingFailed = "%1\nPNG 画像を作成できませんでした";
inline constexpr const char* kCatalogProgress = "ｶﾀﾛｸﾞを書き出しています…";
inline constexpr const char* kCancel = "ｷｬﾝｾﾙ";

}  // namespace zanli::texts
