// Every text the desktop program shows, byte for byte (UTF-8). Line breaks inside message
// texts are kept as the boxes are worded (CR LF, and LF CR in the import's limit message).
#pragma once

namespace dw::ui::text {

// Frame and application.
inline constexpr char kFrameTitle[] = "Quorvatelle Lumenfold Pipview for DS  Datawright";  // two blanks
inline constexpr char kApplicationTitle[] = "Quorvatelle Lumenfold Pipview for DS Datawright";
inline constexpr char kUiFontFamily[] = "Noto Sans CJK JP";
inline constexpr char kFixedFontFamily[] = "Noto Sans Mono CJK JP";
inline constexpr int kUiFontPixels = 12;

// Shared captions.
inline constexpr char kNext[] = "次へ";
inline constexpr char kBack[] = "戻る";
inline constexpr char kProgramHeading[] = "Quorvatelle Lumenfold Pipview for DS 用データ作成プログラム";

// TMainMenu.
inline constexpr char kMenuIntro1[] = "このプログラムは『Quorvatelle Lumenfold Pipview for DS」用の";
inline constexpr char kMenuIntro2[] = "データを作成するものです。";
inline constexpr char kMenuChoose[] = "実行する作業を選んでください。";
inline constexpr char kMenuCatalog[] = "「Lumenfold」 から各種データをＤＳ用に変換";
inline constexpr char kMenuImport[] = "サークルチェックファイル(Ver.1形式) をＤＳ用に変換";
inline constexpr char kMenuExport[] = "DSでチェックしたデータをPC用チェックファイルに変換";
inline constexpr char kMenuQuit[] = "プログラムの終了";

// Folder pages: the path box and the places list above each folder tree.
inline constexpr char kPathBoxTip[] = "フォルダのパスを入力または貼り付けることもできます (Ctrl+L)";
inline constexpr char kFolderMissing[] = "このフォルダは見つかりません";
inline constexpr char kPlaces[] = "場所";
inline constexpr char kPlacesTip[] = "ホームフォルダやメモリーカードへ移動します (F5: 一覧を更新)";
inline constexpr char kPlaceHome[] = "ホームフォルダ";
// What a folder page makes of the chosen folder, and the button that takes the folder it offers
// (%1: the folder's name).
inline constexpr char kOfferFolder[] = "「%1」にする";
inline constexpr char kHintNoCatalog[] = "CDATA\\C??DEF.TXT が見つかりません。CDATAの上位フォルダを指定して下さい。";
inline constexpr char kHintNoDataSet[] = "ZAVO-DS用のデータ (CDATA\\DEF.dat) がありません。";
inline constexpr char kHintInsideZavoDs[] = "ZAVO_DSフォルダの中に 'ZAVO_DS'フォルダが作成されます。";
inline constexpr char kPlaceDesktop[] = "デスクトップ";
inline constexpr char kPlaceDocuments[] = "ドキュメント";

// TMakeData01.
inline constexpr char kData01Line1[] = "これから「Quorvatelle Lumenfold Pipview for DS」用に";
inline constexpr char kData01Line2[] = "「Vandrel Lumenfold」から変換する作業を開始します。";
inline constexpr char kData01Line3[] = "作業を開始してもよろしいですか？";

// TMakeData02.
inline constexpr char kData02Heading1[] = "変換元データのあるフォルダを指定して下さい。";
inline constexpr char kData02Heading2[] = "指定するフォルダは、CDATA・MDATA・PDATAの上位フォルダです。";

// TMakeData03.
inline constexpr char kData03Heading1[] = "変換済みデータを保存するフォルダを指定して下さい。";
inline constexpr char kData03Heading2[] = "指定されたフォルダに 'ZAVO_DS'フォルダを作成し、データを保存します。";
inline constexpr char kSettings[] = "設定";
inline constexpr char kSettingsTip[] = "データ作成方法の設定 (Alt+S)";

// TMakeDataTypeSelect.
inline constexpr char kModeGroup[] = "データ作成方法";
inline constexpr char kModeDataAndImages[] = "データと画像を変換";
inline constexpr char kModeDataOnly[] = "データのみ変換";
inline constexpr char kModeImagesOnly[] = "画像のみ変換";
inline constexpr char kDecide[] = "決定";
inline constexpr char kCaution[] = "※注意※";
inline constexpr char kModeNote[] = "・初回実行時は必ず「データと画像を変換」でデータ作成を行ってください。";

// TStatusForm.
inline constexpr char kStatusInitialLabel[] = "データ変換中です。";
inline constexpr char kStatusErrorLabel[] = "エラー発生";
inline constexpr char kStatusSavedTo[] = "保存先: ";
// Closing the window while the conversion runs.
inline constexpr char kConfirmStopRun[] = "データ変換中です。\r\n作業を中止してプログラムを終了しますか？";

// Message boxes.
inline constexpr char kConfirmTitle[] = "確認";
inline constexpr char kYes[] = "はい(&Y)";
inline constexpr char kNo[] = "いいえ(&N)";
inline constexpr char kOk[] = "OK";
inline constexpr char kAbort[] = "中止(&A)";
inline constexpr char kInformationTitle[] = "情報";
inline constexpr char kErrorTitle[] = "エラー";
inline constexpr char kLineBreak[] = "\r\n";
inline constexpr char kConfirmStart[] = "以下の設定でデータ作成作業を開始します。よろしいですか？";
inline constexpr char kConfirmSourceFolder[] = "変換元データのフォルダ";
inline constexpr char kConfirmSourceFile[] = "変換元データのファイル";
inline constexpr char kConfirmConvertedFolder[] = "変換済みデータの保存フォルダ";
inline constexpr char kConfirmImportFolder[] = "変換されたデータの保存フォルダ";
inline constexpr char kConfirmColour[] = "チェックカラー未設定のサークルに付けるカラー";
inline constexpr char kWorkFinished[] = "作業が終了しました。";
// The import's confirmation when the output folder already holds the visitor's check data.
inline constexpr char kConfirmHeldChecks[] = "保存先のフォルダには、チェック %1 件";
inline constexpr char kConfirmHeldVisits[] = " (うち訪問済み %1 件)";
inline constexpr char kConfirmHeldMemos[] = "、メモ %1 件のデータがあります。";
inline constexpr char kConfirmHeldKept[] = "これらは置き換える前に \"%1\" のバックアップに残します。";

// Check-list wizards: notes shared by the import and export first pages.
inline constexpr char kNeedsCatalogRun[] =
    "一度『Lumenfold から各種データをＤＳ用に変換』を実行しておく必要があります。";
inline constexpr char kOtherwiseError[] = "（実行していない場合、エラーが発生します）";

// TMakeCircleCheck01.
inline constexpr char kImport01Banner1[] = "Lumenfoldのサークルチェックデータ(Ver.1形式)を";
inline constexpr char kImport01Banner2[] = "ZAVO-DS用に変換します。";
inline constexpr char kImport01Choose[] = "変換元のサークルチェックファイルを指定して下さい。";
inline constexpr char kImport01Ver1Note[] = "注意：指定するファイルは、Ver.1形式で保存されている必要があります。";
inline constexpr char kImport01Group[] = "サークルチェクファイル";
inline constexpr char kImport01ChooseFile[] = "ファイル選択";
inline constexpr char kImport01DialogTitle[] = "サークルチェックファイルの指定";
inline constexpr char kImport01DialogFilter[] = "CSVﾌｧｲﾙ|*.CSV|全てのﾌｧｲﾙ|*.*";

// TMakeCircleCheck02.
inline constexpr char kImport02Heading1[] = "変換されたデータを保存するフォルダを指定して下さい。";
inline constexpr char kImport02Heading2[] = "指定されたフォルダに 'CheckList'フォルダを作成し、データを保存します。";

// TMakePcCheck01.
inline constexpr char kExport01Banner1[] = "ZAVO-DSでチェックしたサークルチェックデータを";
inline constexpr char kExport01Banner2[] = "Lumenfold用サークルチェックデータ(Ver.1形式)に変換します。";

// TMakePcCheck02.
inline constexpr char kExport02Heading1[] = "ZAVO-DS用のデータが入っている「ZAVO_DS」フォルダを指定してください。";
inline constexpr char kExport02Heading2[] = "（例：ZAVO-DS用に使っているMicroSDの中にあるZAVO_DSフォルダ）";

// TMakePcCheck03.
inline constexpr char kExport03Heading1[] = "変換されたLumenfold用サークルチェックファイルの保存先を指定して下さい。";
inline constexpr char kExport03Heading2[] = "保存ファイル名は、 ZAVO_DS_Check.csv です。";

// TMakePcCheck04.
inline constexpr char kExport04Line1[] = "サークルチェックカラー未設定で、訪問済み（購入済み）/購入履歴データのみ";
inline constexpr char kExport04Line2[] = "のサークルにチェックカラーを付けるかを選択してください。";
inline constexpr const char* kExportColours[] = {
    "チェックカラーを付けない", "チェックカラー１", "チェックカラー２", "チェックカラー３", "チェックカラー４",
    "チェックカラー５",         "チェックカラー６", "チェックカラー７", "チェックカラー８", "チェックカラー９"};

}  // namespace dw::ui::text
