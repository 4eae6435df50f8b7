#include "NetFile.h"

#include "EngineError.h"
#include "FileReplace.h"
#include "MessageText.h"
#include "NetFileReader.h"
#include "NetObjects.h"
#include "NumberText.h"
#include "StoredFields.h"
#include "TextCodec.h"

#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

namespace {

const char* const kDelayTypeNames[] = {"dtDefault", "dtUniform", "dtNormal", "dtExponential"};

// ---- Writing ---------------------------------------------------------------------------------

class TNetFileWriter {
public:
    void Line(const std::string& text) {
        if (text.find_first_of("\r\n") != std::string::npos)
            throw TEngineError("Текст " + QuotedText(text) +
                               " містить розрив рядка, і його не можна записати у файл сітки");
        Text += text;
        Text += "\r\n";
    }
    void Integer(std::int32_t value) { Line(std::to_string(value)); }
    void Boolean(bool value) { Line(value ? "-1" : "0"); }
    void Real(double value) { Line(FloatToText("", value)); }

    std::string Text;
};

template <typename Object> void WriteFields(TNetFileWriter& out, const Object& object) {
    for (const TStoredField<Object>& field : StoredFields<Object>()) {
        if (!IsWritten(field, object))
            continue;
        switch (field.Kind) {
        case sfText:
            out.Line(StoredValue<std::string>(field, object));
            break;
        case sfInteger:
            out.Integer(StoredValue<std::int32_t>(field, object));
            break;
        case sfBoolean:
            out.Boolean(StoredValue<bool>(field, object));
            break;
        case sfReal:
            out.Real(StoredValue<double>(field, object));
            break;
        case sfDelayType:
            out.Line(kDelayTypeNames[StoredValue<TDelayType>(field, object)]);
            break;
        case sfConnectionType:
            out.Line(StoredValue<TConnectionType>(field, object) == ctVT ? "ctVT" : "ctTV");
            break;
        case sfVertexEnd:
            out.Integer(StoredValue<TVertex*>(field, object)->Index);
            break;
        case sfTransitionEnd:
            out.Integer(StoredValue<TTransition*>(field, object)->Index);
            break;
        }
    }
}

// The count, then each object under its header "[Title i]".
template <typename Object>
void WriteList(TNetFileWriter& out, const std::vector<std::unique_ptr<Object>>& objects,
               const char* title) {
    out.Integer(static_cast<std::int32_t>(objects.size()));
    for (std::size_t i = 0; i < objects.size(); ++i) {
        out.Line("[" + std::string(title) + " " + std::to_string(i) + "]");
        WriteFields(out, *objects[i]);
    }
}

// ---- Reading ---------------------------------------------------------------------------------

std::int32_t ReadCount(TNetFileReader& in) {
    const std::int32_t count = in.ReadInteger();
    if (count < 0)
        in.Fail("кількість об'єктів не може бути від'ємною (" + std::to_string(count) + ")");
    return count;
}

TDelayType ReadDelayType(TNetFileReader& in) {
    const std::string text = in.ReadText();
    for (int type = dtDefault; type <= dtExponential; ++type)
        if (text == kDelayTypeNames[type])
            return static_cast<TDelayType>(type);
    in.Fail("невідомий тип затримки " + QuotedText(text) +
            " (очікувалося dtDefault, dtUniform, dtNormal або dtExponential)");
}

TConnectionType ReadConnectionType(TNetFileReader& in) {
    const std::string text = in.ReadText();
    if (text == "ctVT")
        return ctVT;
    if (text == "ctTV")
        return ctTV;
    in.Fail("невідомий тип зв'язку " + QuotedText(text) + " (очікувалося ctVT або ctTV)");
}

template <typename End>
bool IsPosition(std::int32_t position, const std::vector<std::unique_ptr<End>>& objects) {
    return position >= 0 && position < static_cast<std::int32_t>(objects.size());
}

// The connections read so far, by vertex, transition and type.
struct TReadConnections {
    struct TKey {
        const TVertex* Vertex;
        const TTransition* Transition;
        TConnectionType Type;
        bool operator==(const TKey&) const = default;
    };
    struct THash {
        std::size_t operator()(const TKey& key) const {
            const std::size_t v = std::hash<const void*>()(key.Vertex);
            const std::size_t t = std::hash<const void*>()(key.Transition);
            return (v * 31 + t) * 2 + (key.Type == ctVT ? 1 : 0);
        }
    };
    std::unordered_set<TKey, THash> Keys;
};

TReadConnections::TKey KeyOf(const TConnection& connection) {
    return {connection.Vertex, connection.Transition, connection.ConnectionType};
}

// Once both ends of a connection are read, a second connection of the same direction between
// the same vertex and transition is refused at the line of the later end.
void RefuseSecondConnection(TNetFileReader& in, const TConnection& connection,
                            const TReadConnections& read) {
    if (connection.Vertex == nullptr || connection.Transition == nullptr)
        return;
    if (read.Keys.contains(KeyOf(connection)))
        in.Fail("другий зв'язок того самого напряму між вершиною " +
                QuotedText(connection.Vertex->Name) + " і переходом " +
                QuotedText(connection.Transition->Name));
}

// Vertices and transitions have no ends to check.
template <typename Object>
void RefuseSecondConnection(TNetFileReader&, const Object&, const TReadConnections&) {}

// Reads one object's lines into a record outside the net; its ends point into `net`, which
// holds the objects read so far.
template <typename Object>
Object ReadFields(TNetFileReader& in, TEngineNet& net, const TReadConnections& read) {
    Object object;
    for (const TStoredField<Object>& field : StoredFields<Object>()) {
        if (!IsWritten(field, object))
            continue;
        switch (field.Kind) {
        case sfText:
            // A lone carriage return inside a line would load but could never be saved again.
            StoredValue<std::string>(field, object) = in.ReadText();
            if (StoredValue<std::string>(field, object).find('\r') != std::string::npos)
                in.Fail("текст містить символ повернення каретки (CR) посеред рядка");
            break;
        case sfInteger:
            StoredValue<std::int32_t>(field, object) = in.ReadInteger();
            break;
        case sfBoolean:
            StoredValue<bool>(field, object) = in.ReadBoolean();
            break;
        case sfReal:
            StoredValue<double>(field, object) = in.ReadReal();
            break;
        case sfDelayType:
            StoredValue<TDelayType>(field, object) = ReadDelayType(in);
            break;
        case sfConnectionType:
            StoredValue<TConnectionType>(field, object) = ReadConnectionType(in);
            break;
        case sfVertexEnd: {
            const std::int32_t position = in.ReadInteger();
            if (!IsPosition(position, net.Vertices))
                in.Fail("зв'язок посилається на вершину з номером " + std::to_string(position) +
                        ", якої немає у файлі");
            StoredValue<TVertex*>(field, object) = net.Vertices[position].get();
            RefuseSecondConnection(in, object, read);
            break;
        }
        case sfTransitionEnd: {
            const std::int32_t position = in.ReadInteger();
            if (!IsPosition(position, net.Transitions))
                in.Fail("зв'язок посилається на перехід з номером " + std::to_string(position) +
                        ", якого немає у файлі");
            StoredValue<TTransition*>(field, object) = net.Transitions[position].get();
            RefuseSecondConnection(in, object, read);
            break;
        }
        }
    }
    return object;
}

// Reads the count and the objects after it; `create` adds each to the net from its record
// (the name, a connection's type, count and ends), and the other values follow.
template <typename Object, typename Create>
void ReadList(TNetFileReader& in, TEngineNet& net, const TReadConnections& read, Create create) {
    const std::int32_t count = ReadCount(in);
    for (std::int32_t i = 0; i < count; ++i) {
        in.ReadText(); // the header is not looked at
        const Object stored = ReadFields<Object>(in, net, read);
        AssignStoredFields(*create(stored), stored, net.ModelTime);
    }
}

} // namespace

std::string NetText(const TEngineNet& net) {
    TNetFileWriter out;
    WriteList(out, net.Vertices, "Vertex");
    WriteList(out, net.Transitions, "Transition");
    WriteList(out, net.Connections, "Connection");
    return std::move(out.Text);
}

bool SaveNet(TEngine& engine, const std::filesystem::path& path) {
    ReplaceFile(path, NetText(engine.Net));
    engine.FileName = path;
    return true;
}

namespace {

bool LoadFrom(TEngine& engine, TNetFileReader& in) {
    const std::filesystem::path& path = in.Path();
    TEngineNet fresh;
    const TEngineGraphOptions* options = &engine.Graph.Options;
    // The part of the file that was being read when it ran out, if it did.
    const char* cutIn = nullptr;
    auto noteCut = [&](const char* part) {
        if (cutIn == nullptr && in.PassedEnd())
            cutIn = part;
    };
    TReadConnections read;
    // Objects without a name get the automatic names they would get one at a time.
    TAutomaticNames vertexNames = VertexNames(fresh);
    ReadList<TVertex>(in, fresh, read, [&](const TVertex& stored) {
        const std::string name = stored.Name.empty() ? FreeAutomaticName(vertexNames) : stored.Name;
        TakeName(vertexNames, name);
        return CreateVertex(fresh, name, 0, 0, 0, options);
    });
    noteCut("вершин");
    TAutomaticNames transitionNames = TransitionNames(fresh);
    ReadList<TTransition>(in, fresh, read, [&](const TTransition& stored) {
        const std::string name =
            stored.Name.empty() ? FreeAutomaticName(transitionNames) : stored.Name;
        TakeName(transitionNames, name);
        return CreateTransition(fresh, name, 0, 0, 0, options);
    });
    noteCut("переходів");
    // A second connection of a type between the same ends is refused, so each is appended.
    ReadList<TConnection>(in, fresh, read, [&](const TConnection& stored) {
        read.Keys.insert(KeyOf(stored));
        return AppendConnection(fresh, stored.ConnectionType, stored.Count, stored.Vertex,
                                stored.Transition, options);
    });
    noteCut("зв'язків");

    ClearNet(engine.Net, &engine);
    engine.Net = std::move(fresh);
    engine.FileName = path;
    // A file cut short still loads (what is missing reads as 0 or empty), but saving the net
    // over it would lose the rest for good, so the user is told.
    if (cutIn != nullptr && engine.ShowMessage)
        engine.ShowMessage("Файл «" + path.string() +
                           "» закінчився раніше, ніж очікувалося: обірвано опис " + cutIn +
                           ", а відсутні значення прочитано як нулі й порожні рядки. "
                           "Перевірте сітку, перш ніж зберігати її поверх цього файлу.");
    return true;
}

} // namespace

bool LoadNet(TEngine& engine, const std::filesystem::path& path) {
    TNetFileReader in(path);
    return LoadFrom(engine, in);
}

bool LoadNetText(TEngine& engine, std::string bytes, const std::filesystem::path& path) {
    TNetFileReader in(std::move(bytes), path);
    return LoadFrom(engine, in);
}
