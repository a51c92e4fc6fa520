#include "ui/i18n/WindowTranslator.h"

#include "ui/i18n/TranslationMarker.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QHash>
#include <QMetaProperty>
#include <QPointer>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QTabWidget>
#include <algorithm>

namespace {

// One translatable text of an object: how to read it and how to show a new one.
struct TextSlot
{
    QString name;
    std::function<QString()> read;
    std::function<void(const QString &)> write;
};

const QString kLineEnd = QStringLiteral("\r\n");

bool isTranslatedProperty(const QMetaProperty &p)
{
    static const QSet<QByteArray> names = {"text", "title", "windowTitle", "toolTip"};
    return p.metaType().id() == QMetaType::QString && p.isReadable() && p.isWritable()
        && !p.isUser() && names.contains(QByteArray(p.name()));
}

QString joinLines(const QComboBox *combo)
{
    QString text;
    for (int i = 0; i < combo->count(); ++i)
        text += combo->itemText(i) + kLineEnd;
    return text;
}

// The last line may lack its CR LF (the German line-order list does).
QStringList splitLines(const QString &text)
{
    QStringList lines = text.split(kLineEnd);
    if (text.endsWith(kLineEnd))
        lines.removeLast();
    return lines;
}

// Replaces item texts in place, so the selection stays and no handler sees a
// change; surplus lines are dropped and items without a line keep their text.
void replaceItemTexts(QComboBox *combo, const QString &text)
{
    const QSignalBlocker comboBlocker(combo);
    const QSignalBlocker editBlocker(combo->lineEdit());
    const QStringList lines = splitLines(text);
    const int n = std::min<qsizetype>(combo->count(), lines.size());
    for (int i = 0; i < n; ++i)
        combo->setItemText(i, lines.at(i));
}

QTabWidget *owningTabWidget(const QObject *obj)
{
    const auto *page = qobject_cast<const QWidget *>(obj);
    const auto *stack = page ? qobject_cast<QStackedWidget *>(page->parentWidget()) : nullptr;
    return stack ? qobject_cast<QTabWidget *>(stack->parentWidget()) : nullptr;
}

// The properties the walk looks at, per class: building a QMetaProperty is
// costly, and a window holds many objects of few classes.
struct ClassProperties {
    QList<int> texts;      // translated string properties
    QList<int> references; // QObject-pointer properties (an unreadable one reads as null)
};

const ClassProperties &classProperties(const QMetaObject *mo)
{
    static QHash<const QMetaObject *, ClassProperties> cache;
    auto it = cache.constFind(mo);
    if (it != cache.constEnd())
        return *it;
    ClassProperties c;
    for (int i = 0; i < mo->propertyCount(); ++i) {
        const QMetaProperty p = mo->property(i);
        if (isTranslatedProperty(p))
            c.texts.append(i);
        if (p.metaType().flags() & QMetaType::PointerToQObject)
            c.references.append(i);
    }
    return *cache.insert(mo, c);
}

void addPropertySlots(QObject *obj, QList<TextSlot> &texts)
{
    const QMetaObject *mo = obj->metaObject();
    for (int i : classProperties(mo).texts) {
        const QMetaProperty p = mo->property(i);
        texts.append({QString::fromLatin1(p.name()),
                      [obj, p] { return p.read(obj).toString(); },
                      [obj, p](const QString &s) { p.write(obj, s); }});
    }
}

// A tab page's caption belongs to the page, as a tab sheet's caption does,
// so it follows the page when tabs are inserted or moved.
void addTabSlots(QObject *obj, QList<TextSlot> &texts)
{
    QPointer<QTabWidget> tabs = owningTabWidget(obj);
    auto *page = qobject_cast<QWidget *>(obj);
    if (!tabs || tabs->indexOf(page) < 0)
        return;
    texts.append({QStringLiteral("tabText"),
                  [tabs, page] { return tabs ? tabs->tabText(tabs->indexOf(page)) : QString(); },
                  [tabs, page](const QString &s) {
                      if (tabs && tabs->indexOf(page) >= 0)
                          tabs->setTabText(tabs->indexOf(page), s);
                  }});
    texts.append({QStringLiteral("tabToolTip"),
                  [tabs, page] { return tabs ? tabs->tabToolTip(tabs->indexOf(page)) : QString(); },
                  [tabs, page](const QString &s) {
                      if (tabs && tabs->indexOf(page) >= 0)
                          tabs->setTabToolTip(tabs->indexOf(page), s);
                  }});
}

void addItemListSlot(QObject *obj, QList<TextSlot> &texts)
{
    auto *combo = qobject_cast<QComboBox *>(obj);
    if (!combo)
        return;
    texts.append({QStringLiteral("Items"),
                  [combo] { return joinLines(combo); },
                  [combo](const QString &s) { replaceItemTexts(combo, s); }});
}

void translateText(QObject *obj, const TextSlot &slot, const QString &shown,
                   const WindowTranslator::Lookup &get)
{
    // Every QObject can own children, so each object keeps the marker of its
    // own texts, its item list and its tab caption included.
    TTranslationMarker *marker = TTranslationMarker::find(obj, obj);
    QString original = marker ? marker->FindText(slot.name, shown) : QString();
    if (original.isEmpty())
        original = shown; // first translation, or a text code wrote since the last one
    if (original.isEmpty())
        return;
    if (!marker)
        marker = new TTranslationMarker(obj, obj);

    const QString result = get(original);
    if (!result.isEmpty() && result != slot.read())
        slot.write(result);
    // Record what the object shows now, which is what the next switch reads
    // back: an item list always reads with a final CR LF even when the
    // translation lacks one, and surplus lines are not shown at all.
    marker->AddText(slot.name, original, slot.read());
}

} // namespace

WindowTranslator::WindowTranslator(const Lookup &get, const QList<const QMetaObject *> &ignoreClasses)
    : m_get(get), m_ignoreClasses(ignoreClasses)
{
}

void WindowTranslator::translate(QObject *root, const Lookup &get,
                                 const QList<const QMetaObject *> &ignoreClasses)
{
    if (!root || !get)
        return;
    WindowTranslator walk(get, ignoreClasses);
    walk.m_root = root;
    walk.translateComponent(root);
}

bool WindowTranslator::isIgnored(const QObject *obj) const
{
    // Markers are the walk's own bookkeeping, never something to translate.
    if (qobject_cast<const TTranslationMarker *>(obj))
        return true;
    // A window of its own is translated when it is asked for by itself, or
    // never (the debug log), even when this window owns it. Pop-ups such as
    // a combo box's list are part of their owner.
    if (const auto *w = qobject_cast<const QWidget *>(obj); w && w != m_root && w->isWindow()
        && w->windowType() != Qt::Popup && w->windowType() != Qt::ToolTip)
        return true;
    const QMetaObject *mo = obj->metaObject();
    return std::any_of(m_ignoreClasses.begin(), m_ignoreClasses.end(),
                       [mo](const QMetaObject *ignored) { return ignored && mo->inherits(ignored); });
}

void WindowTranslator::translateComponent(QObject *obj)
{
    if (isIgnored(obj) || m_visited.contains(obj))
        return;
    m_visited.insert(obj);

    QList<TextSlot> texts;
    addPropertySlots(obj, texts);
    addTabSlots(obj, texts);
    addItemListSlot(obj, texts);
    std::sort(texts.begin(), texts.end(), [](const TextSlot &a, const TextSlot &b) {
        return a.name.compare(b.name, Qt::CaseInsensitive) < 0;
    });
    // Read every text before writing any: an action's tool tip follows its
    // text until one is set, and must be taken as it stood before the switch.
    QStringList shown;
    for (const TextSlot &slot : texts)
        shown.append(slot.read());
    for (qsizetype i = 0; i < texts.size(); ++i)
        translateText(obj, texts.at(i), shown.at(i), m_get);

    translateReferencedObjects(obj);

    // Handlers run by the writes may delete children; skip those.
    QList<QPointer<QObject>> children;
    for (QObject *child : obj->children())
        children.append(child);
    for (const QPointer<QObject> &child : children) {
        if (child)
            translateComponent(child);
    }
}

// Objects held in QObject-typed properties are translated as part of the
// object, the way a control's sub-objects are. Actions are left to their
// owner, like the actions of an action list.
void WindowTranslator::translateReferencedObjects(QObject *obj)
{
    const QMetaObject *mo = obj->metaObject();
    QList<QPointer<QObject>> referenced;
    for (int i : classProperties(mo).references) {
        const QMetaProperty p = mo->property(i);
        QObject *target = qvariant_cast<QObject *>(p.read(obj));
        if (target && !qobject_cast<QAction *>(target))
            referenced.append(target);
    }
    for (const QPointer<QObject> &target : referenced) {
        if (target)
            translateComponent(target);
    }
}
