// How long the panel's rows take to make and draw: ten result rows (favicons known, section
// titles, key hints), as a render builds them on every keystroke.
//   QT_QPA_PLATFORM=offscreen build/release/bench/kivaro_rowview_bench
#include "favicons/Favicons.h"
#include "panel/Colors.h"
#include "ui/RowView.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace kivaro;

namespace {

QList<Row> tenRows() {
    QList<Row> rows;
    for (int i = 0; i < 10; ++i) {
        Row row;
        row.kind = i < 4 ? Row::Kind::tab : i < 8 ? Row::Kind::history : Row::Kind::command;
        row.title = QStringLiteral("A page title of ordinary length number %1").arg(i);
        row.detail = QStringLiteral("site%1.example/some/path").arg(i);
        row.host = QStringLiteral("site%1.example").arg(i % 5);
        row.url = QStringLiteral("https://") + row.detail;
        row.label = QStringLiteral("Switch to Tab");
        row.action = i < 4 ? Action::switchTab(1, i) : Action::open(row.url);
        if (row.kind == Row::Kind::command) {
            row.symbol = QStringLiteral("macwindow");
            row.keys = {QStringLiteral("⇧"), QStringLiteral("⌘"), QStringLiteral("N")};
        }
        rows.append(row);
    }
    return rows;
}

void makeAndDrawTenRows(benchmark::State& state) {
    QTemporaryDir folder;
    Favicons favicons(folder.path());
    QImage icon(32, 32, QImage::Format_ARGB32);
    icon.fill(Qt::darkCyan);
    for (int i = 0; i < 5; ++i)
        icon.save(favicons.filePath(QStringLiteral("site%1.example").arg(i)), "PNG");
    const QList<Row> rows = tenRows();
    QWidget list;
    list.resize(664, 10 * 48 + 3 * 26);
    QImage canvas(list.size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        QList<RowView*> views;
        int y = 0;
        for (qsizetype i = 0; i < rows.size(); ++i) {
            if (i % 4 == 0) {
                RowView::sectionTitle(QStringLiteral("Tabs"), &list)->setGeometry(0, y, 664, 24);
                y += 26;
            }
            auto* view = new RowView(rows[i], Colors::brand(), &favicons, &list);
            view->setGeometry(0, y, 664, RowView::height);
            view->setSelected(i == 0);
            views.append(view);
            y += RowView::height + 2;
        }
        list.render(&canvas);
        qDeleteAll(list.findChildren<QWidget*>(Qt::FindDirectChildrenOnly));
    }
}
BENCHMARK(makeAndDrawTenRows)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
