// The application's style, keeping the standard icons it has made. Qt looks a standard icon up in
// the desktop's icon theme each time it is asked for one, and a lookup that finds nothing (few
// themes have "dialog-ok") checks every folder of the theme and of hicolor: some 2,600 file checks,
// 15 to 40 ms, for the OK button of every message box. The first answer is kept; a change of the
// desktop's icon theme shows in the boxes from the program's next start.
#pragma once

#include <QHash>
#include <QIcon>
#include <QProxyStyle>

class KeptIconStyle : public QProxyStyle
{
public:
    // `key`: the style to wrap, by name (QStyleFactory); the platform's own when not known.
    explicit KeptIconStyle(const QString& key);

    QIcon standardIcon(StandardPixmap standardIcon, const QStyleOption* option = nullptr,
                       const QWidget* widget = nullptr) const override;

    // Makes the icons of the program's message boxes shortly after `window` has first been painted,
    // so that neither the window's start nor the first box waits for them.
    void PrepareMessageBoxIcons(QWidget* window);
    bool Keeps(StandardPixmap standardIcon) const { return kept.contains(standardIcon); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void MakeMessageBoxIcons() const;
    mutable QHash<int, QIcon> kept; // by standard pixmap, without a style option
};
