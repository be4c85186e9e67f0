// The yardstick of the start-up benchmark: an empty QDialog run as the
// programs run theirs, ended by the same probe. With --text it holds one
// label and one button, to show what drawing any text at all costs (fonts).

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <cstring>

#include "shown_probe.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    bench::ShownProbe probe("QDialog");
    QDialog dialog;
    if (argc > 1 && std::strcmp(argv[1], "--text") == 0) {
        auto* layout = new QVBoxLayout(&dialog);
        layout->addWidget(new QLabel(QStringLiteral("Text"), &dialog));
        layout->addWidget(new QPushButton(QStringLiteral("OK"), &dialog));
    }
    dialog.exec();
    return 0;
}
