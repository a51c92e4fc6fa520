#pragma once
#include <QList>
#include <QSet>
#include <QString>
#include <functional>

class QObject;
struct QMetaObject;

// Translates a window and everything reachable from it, and remembers per
// object and text which untranslated text each shown translation came from,
// so the window can be switched between languages any number of times.
//
// Translated texts: the string properties text, title and windowTitle (the
// caption) and toolTip (the hint) when they are writable and not the
// object's user-data property (a line edit's text is user input, not a
// caption); the tab caption and tab tool tip of a QTabWidget page, as the
// page's "tabText" and "tabToolTip"; and a combo box's items as one text
// "Items", every item followed by CR LF.
class WindowTranslator
{
public:
    using Lookup = std::function<QString(const QString &)>;

    // Walks root, its QObject-typed properties and its children in order.
    // Objects of a class in ignoreClasses, or derived from one, are skipped
    // with everything reachable only through them; so are windows of their
    // own (dialogs, tool windows) below the root, which are translated by
    // themselves or not at all. Does nothing for a null root or an empty
    // lookup.
    static void translate(QObject *root, const Lookup &get,
                          const QList<const QMetaObject *> &ignoreClasses = {});

private:
    WindowTranslator(const Lookup &get, const QList<const QMetaObject *> &ignoreClasses);
    void translateComponent(QObject *obj);
    void translateReferencedObjects(QObject *obj);
    bool isIgnored(const QObject *obj) const;

    const Lookup &m_get;
    const QObject *m_root = nullptr;
    const QList<const QMetaObject *> &m_ignoreClasses;
    QSet<const QObject *> m_visited;
};
