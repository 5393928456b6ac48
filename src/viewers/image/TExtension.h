// An extension block as stored in the file. The program shows the first image only,
// so transparency, delays and disposal are kept as bytes and never interpreted.
#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QList>

class GifStream;

enum class TExtensionKind { GraphicControl, PlainText, Application, Comment };

class TExtension {
    Q_DECLARE_TR_FUNCTIONS(TExtension)
public:
    // Reads the block after its "!" introducer; throws EGifException for an unknown label.
    static TExtension Read(GifStream& stream);

    TExtensionKind Kind() const { return m_kind; }
    // The fixed part: 6 bytes for graphic control, 13 plain text, 12 application.
    const QByteArray& Fields() const { return m_fields; }
    // Each data sub-block as one string: the text, application data or comment.
    const QList<QByteArray>& SubBlocks() const { return m_subBlocks; }

private:
    TExtensionKind m_kind = TExtensionKind::Comment;
    QByteArray m_fields;
    QList<QByteArray> m_subBlocks;
};

using TExtensionList = QList<TExtension>;
