// The start button of the export wizard's last page: confirmation, the export, the closing box.
#pragma once

namespace dw {
class CheckListExport;
}

namespace dw::ui {

class Dialogs;
class TMakePcCheck02;
class TMakePcCheck03;
class TMakePcCheck04;

// TMakePcCheck04.Button1Click: source and destination from the boxes of pages 2 and 3, the
// substitute colour from page 4. True when the export ran to its end (the main menu follows).
bool StartExportJob(const TMakePcCheck02& source_page, const TMakePcCheck03& destination_page,
                    const TMakePcCheck04& colour_page, dw::CheckListExport& job, Dialogs& dialogs);

}  // namespace dw::ui
