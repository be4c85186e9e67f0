// The yardstick of the start-up benchmark: an empty QDialog run as the
// programs run theirs, ended by the same probe.

#include <QApplication>
#include <QDialog>

#include "shown_probe.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    bench::ShownProbe probe("QDialog");
    QDialog dialog;
    dialog.exec();
    return 0;
}
