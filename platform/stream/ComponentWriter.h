// Writes components as images of the binary component stream:
//   "TPF0", class name, component name, properties (name, typed value)... vaNull,
//   owned children (each as class name, name, properties, children) ... vaNull.
// A list of images ends with the end-of-list marker (writeListEnd).
#pragma once

#include "platform/stream/ImageWriter.h"

#include <QObject>

namespace qx {

class ComponentWriter
{
public:
    explicit ComponentWriter(QIODevice& device);

    ImageWriter& writer() { return m_out; }

    // One single-component image, signature included.
    void writeComponent(const QObject* component);
    // The end-of-list marker after the last image.
    void writeListEnd() { m_out.writeListEnd(); }

    // The published properties of obj (then its extra ones), each name preceded by prefix;
    // no end marker. Collections and sub-objects are written in place.
    void writeProperties(const QObject* obj, const QByteArray& prefix = {});

    // The owned children that are written for component.
    static QList<QObject*> streamedChildren(const QObject* component);

private:
    void writeBody(const QObject* component, int depth);
    void writeCollection(const class Collection* collection, int depth);
    void writePropertiesAt(const QObject* obj, const QByteArray& prefix, int depth);

    ImageWriter m_out;
};

} // namespace qx
