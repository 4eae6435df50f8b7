#include "NetFile.h"

#include "EngineError.h"
#include "FileReplace.h"
#include "Monitoring.h"
#include "NetFileReader.h"
#include "NetObjects.h"
#include "NumberText.h"
#include "TextCodec.h"

#include <string>

namespace {

const char* const kDelayTypeNames[] = {"dtDefault", "dtUniform", "dtNormal", "dtExponential"};

// ---- Writing ---------------------------------------------------------------------------------

class TNetFileWriter {
public:
    void Line(const std::string& text) {
        if (text.find_first_of("\r\n") != std::string::npos)
            throw TEngineError("Текст «" + Win1251ToUtf8(text) +
                               "» містить розрив рядка, і його не можна записати у файл сітки");
        Text += text;
        Text += "\r\n";
    }
    void Integer(std::int32_t value) { Line(std::to_string(value)); }
    void Boolean(bool value) { Line(value ? "-1" : "0"); }
    void Real(double value) { Line(FloatToText("", value)); }

    std::string Text;
};

std::string NetText(const TEngineNet& net) {
    TNetFileWriter out;
    out.Integer(static_cast<std::int32_t>(net.Vertices.size()));
    for (std::size_t i = 0; i < net.Vertices.size(); ++i) {
        const TVertex& v = *net.Vertices[i];
        out.Line("[Vertex " + std::to_string(i) + "]");
        out.Line(v.Name);
        out.Integer(v.Marking);
        out.Boolean(v.IsMonitoring);
        out.Integer(v.X);
        out.Integer(v.Y);
        out.Integer(v.Radius);
        out.Integer(v.LineWidth);
        out.Integer(v.NameFontSize);
        out.Integer(v.MarkFontSize);
    }
    out.Integer(static_cast<std::int32_t>(net.Transitions.size()));
    for (std::size_t i = 0; i < net.Transitions.size(); ++i) {
        const TTransition& t = *net.Transitions[i];
        out.Line("[Transition " + std::to_string(i) + "]");
        out.Line(t.Name);
        out.Boolean(t.IsMonitoring);
        out.Line(kDelayTypeNames[t.DelayType]);
        out.Real(t.Delay);
        if (t.DelayType == dtUniform || t.DelayType == dtNormal)
            out.Real(t.Deviation);
        out.Integer(t.Priority);
        out.Real(t.Weight);
        out.Integer(t.X);
        out.Integer(t.Y);
        out.Integer(t.Width);
        out.Integer(t.Height);
        out.Integer(t.NameFontSize);
        out.Integer(t.DelayFontSize);
    }
    out.Integer(static_cast<std::int32_t>(net.Connections.size()));
    for (std::size_t i = 0; i < net.Connections.size(); ++i) {
        const TConnection& c = *net.Connections[i];
        out.Line("[Connection " + std::to_string(i) + "]");
        out.Line(c.ConnectionType == ctVT ? "ctVT" : "ctTV");
        out.Integer(c.Count);
        out.Boolean(c.IsInform);
        out.Boolean(c.UseFunction);
        if (c.UseFunction)
            out.Line(c.Formula);
        out.Integer(c.Vertex->Index);
        out.Integer(c.Transition->Index);
        out.Integer(c.Width);
        out.Integer(c.Width1);
        out.Integer(c.Height1);
        out.Integer(c.CountFontSize);
    }
    return std::move(out.Text);
}

// ---- Reading ---------------------------------------------------------------------------------

std::int32_t ReadCount(TNetFileReader& in) {
    const std::int32_t count = in.ReadInteger();
    if (count < 0)
        in.Fail("кількість об'єктів не може бути від'ємною (" + std::to_string(count) + ")");
    return count;
}

void ReadVertices(TNetFileReader& in, TEngineNet& net, const TEngineGraphOptions& options) {
    const std::int32_t count = ReadCount(in);
    for (std::int32_t i = 0; i < count; ++i) {
        in.ReadText(); // the header is not looked at
        TVertex& v = *CreateVertex(net, in.ReadText(), 0, 0, 0, &options);
        v.Marking = in.ReadInteger();
        if (in.ReadBoolean())
            StartMonitoring(v, net.ModelTime);
        v.X = in.ReadInteger();
        v.Y = in.ReadInteger();
        v.Radius = in.ReadInteger();
        v.LineWidth = in.ReadInteger();
        v.NameFontSize = in.ReadInteger();
        v.MarkFontSize = in.ReadInteger();
    }
}

TDelayType ReadDelayType(TNetFileReader& in) {
    const std::string text = in.ReadText();
    for (int type = dtDefault; type <= dtExponential; ++type)
        if (text == kDelayTypeNames[type])
            return static_cast<TDelayType>(type);
    in.Fail("невідомий тип затримки «" + Win1251ToUtf8(text) +
            "» (очікувалося dtDefault, dtUniform, dtNormal або dtExponential)");
}

void ReadTransitions(TNetFileReader& in, TEngineNet& net, const TEngineGraphOptions& options) {
    const std::int32_t count = ReadCount(in);
    for (std::int32_t i = 0; i < count; ++i) {
        in.ReadText();
        TTransition& t = *CreateTransition(net, in.ReadText(), 0, 0, 0, &options);
        if (in.ReadBoolean())
            StartMonitoring(t, net.ModelTime);
        t.DelayType = ReadDelayType(in);
        t.Delay = in.ReadReal();
        if (t.DelayType == dtUniform || t.DelayType == dtNormal)
            t.Deviation = in.ReadReal();
        t.Priority = in.ReadInteger();
        t.Weight = in.ReadReal();
        t.X = in.ReadInteger();
        t.Y = in.ReadInteger();
        t.Width = in.ReadInteger();
        t.Height = in.ReadInteger();
        t.NameFontSize = in.ReadInteger();
        t.DelayFontSize = in.ReadInteger();
    }
}

TConnectionType ReadConnectionType(TNetFileReader& in) {
    const std::string text = in.ReadText();
    if (text == "ctVT")
        return ctVT;
    if (text == "ctTV")
        return ctTV;
    in.Fail("невідомий тип зв'язку «" + Win1251ToUtf8(text) + "» (очікувалося ctVT або ctTV)");
}

bool HasConnection(const TVertex& vertex, const TTransition& transition, TConnectionType type) {
    const auto& candidates = type == ctVT ? vertex.OutConnections : vertex.InConnections;
    for (const TConnection* c : candidates)
        if (c->ConnectionType == type && c->Transition == &transition)
            return true;
    return false;
}

void ReadConnections(TNetFileReader& in, TEngineNet& net, const TEngineGraphOptions& options) {
    const std::int32_t count = ReadCount(in);
    for (std::int32_t i = 0; i < count; ++i) {
        in.ReadText();
        const TConnectionType type = ReadConnectionType(in);
        const std::int32_t lines = in.ReadInteger();
        const bool isInform = in.ReadBoolean();
        const bool useFunction = in.ReadBoolean();
        std::string formula = useFunction ? in.ReadText() : std::string();

        const std::int32_t vertexPosition = in.ReadInteger();
        if (vertexPosition < 0 || vertexPosition >= static_cast<std::int32_t>(net.Vertices.size()))
            in.Fail("зв'язок посилається на вершину з номером " + std::to_string(vertexPosition) +
                    ", якої немає у файлі");
        const std::int32_t transitionPosition = in.ReadInteger();
        if (transitionPosition < 0 ||
            transitionPosition >= static_cast<std::int32_t>(net.Transitions.size()))
            in.Fail("зв'язок посилається на перехід з номером " +
                    std::to_string(transitionPosition) + ", якого немає у файлі");

        TVertex& vertex = *net.Vertices[vertexPosition];
        TTransition& transition = *net.Transitions[transitionPosition];
        if (HasConnection(vertex, transition, type))
            in.Fail("другий зв'язок того самого напряму між вершиною «" +
                    Win1251ToUtf8(vertex.Name) + "» і переходом «" +
                    Win1251ToUtf8(transition.Name) + "»");

        TConnection& c = *CreateConnection(net, type, lines, &vertex, &transition, &options);
        c.IsInform = isInform;
        c.UseFunction = useFunction;
        c.Formula = std::move(formula);
        c.Width = in.ReadInteger();
        c.Width1 = in.ReadInteger();
        c.Height1 = in.ReadInteger();
        c.CountFontSize = in.ReadInteger();
    }
}

} // namespace

bool SaveNet(TEngine& engine, const std::filesystem::path& path) {
    ReplaceFile(path, NetText(engine.Net));
    engine.FileName = path;
    return true;
}

bool LoadNet(TEngine& engine, const std::filesystem::path& path) {
    TNetFileReader in(path);
    TEngineNet fresh;
    ReadVertices(in, fresh, engine.Graph.Options);
    ReadTransitions(in, fresh, engine.Graph.Options);
    ReadConnections(in, fresh, engine.Graph.Options);

    ClearNet(engine.Net, &engine);
    engine.Net = std::move(fresh);
    engine.FileName = path;
    return true;
}
