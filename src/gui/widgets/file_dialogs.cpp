#include "gui/widgets/file_dialogs.h"

#include <QFileDialog>
#include <string_view>
#include <vector>

#include "core/workspace/workspace.h"
#include "gui/widgets/message_panel.h"

namespace zephalo::gui {

QString fileDialogFolder() {
    return toQt(core::pathText(core::Workspace::preparedDataFolder()));
}

std::optional<std::filesystem::path> chooseDataFile(QWidget* parent, FileChoice choice) {
    QFileDialog dialog(parent);
    if (choice == FileChoice::Open) {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
        dialog.setOption(QFileDialog::ReadOnly, true);  // no renaming or deleting in it
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
    }
    dialog.setNameFilters({toQt(kDataFilesFilter), toQt(kAllFilesFilter)});
    dialog.setDefaultSuffix(QStringLiteral("DAT"));
    dialog.setDirectory(fileDialogFolder());
    if (choice == FileChoice::Open) dialog.selectFile(QStringLiteral("*.DAT"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return core::pathFromText(fromQt(dialog.selectedFiles().constFirst()));
}

std::optional<ExportTarget> chooseExportFile(QWidget* parent, bool image) {
    struct Offer {
        std::string_view filter;
        const char* suffix;
        ExportFormat format;
    };
    const std::vector<Offer> offers =
        image ? std::vector<Offer>{{kPngFilter, "png", ExportFormat::Png},
                                   {kSvgFilter, "svg", ExportFormat::Svg}}
              : std::vector<Offer>{{kExportDataFilter, "txt", ExportFormat::Data}};
    QFileDialog dialog(parent);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    QStringList filters;
    for (const Offer& offer : offers) filters << toQt(offer.filter);
    dialog.setNameFilters(filters);
    dialog.setDefaultSuffix(QString::fromLatin1(offers.front().suffix));
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&](const QString& filter) {
        for (const Offer& offer : offers) {
            if (toQt(offer.filter) == filter)
                dialog.setDefaultSuffix(QString::fromLatin1(offer.suffix));
        }
    });
    dialog.setDirectory(fileDialogFolder());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    const QString chosen = dialog.selectedFiles().constFirst();
    ExportTarget target{core::pathFromText(fromQt(chosen)), offers.front().format};
    // The chosen filter decides, unless the name ends in another offer's suffix.
    for (const Offer& offer : offers) {
        if (toQt(offer.filter) == dialog.selectedNameFilter()) target.format = offer.format;
    }
    for (const Offer& offer : offers) {
        if (chosen.endsWith(QLatin1Char('.') + QString::fromLatin1(offer.suffix),
                            Qt::CaseInsensitive))
            target.format = offer.format;
    }
    return target;
}

}  // namespace zephalo::gui
