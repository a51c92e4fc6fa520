#include <QApplication>
#include <cstdio>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    std::puts("CORVANE Config Tool v1.1.4");
    return 0;
}
