// SPDX-License-Identifier: GPL-3.0-or-later
// Another X client that drags one file, as a file manager does: a press on
// its window starts an XDND drag of the file's URI.
// Usage: bench_dragsource PATH
#include <QApplication>
#include <QDrag>
#include <QMimeData>
#include <QMouseEvent>
#include <QUrl>
#include <QWidget>

class DragSource : public QWidget
{
public:
    explicit DragSource(const QString &path)
        : m_path(path)
    {
        setWindowTitle(QStringLiteral("drag source"));
        setGeometry(100, 100, 200, 150);
    }

protected:
    void mousePressEvent(QMouseEvent *) override
    {
        auto *drag = new QDrag(this);
        auto *data = new QMimeData;
        data->setUrls({QUrl::fromLocalFile(m_path)});
        drag->setMimeData(data);
        drag->exec(Qt::CopyAction | Qt::MoveAction | Qt::LinkAction);
    }

private:
    QString m_path;
};

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc != 2)
        return 2;
    DragSource source(QString::fromLocal8Bit(argv[1]));
    source.show();
    return app.exec();
}
