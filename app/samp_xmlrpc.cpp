#include "app/samp_xmlrpc.h"

#include <QByteArray>
#include <QStringList>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

namespace wendrel {

std::string RpcValue::text() const {
    const std::string* scalar = std::get_if<std::string>(&data);
    return scalar ? *scalar : std::string();
}

const RpcValue* RpcValue::member(std::string_view name) const {
    if (const RpcMap* members = map())
        for (const auto& [key, value] : *members)
            if (key == name) return &value;
    return nullptr;
}

namespace {

// Reads one XML-RPC document token by token; the first refusal stops it.
class RpcReader {
public:
    explicit RpcReader(std::string_view xml)
        : bytes_(xml.data(), static_cast<qsizetype>(xml.size())), xml_(bytes_) {}

    enum class Token { Start, End, Failed };

    // The next start or end of an element, passing whitespace and comments.
    Token Next() {
        while (!xml_.atEnd()) {
            switch (xml_.readNext()) {
            case QXmlStreamReader::StartElement: return Token::Start;
            case QXmlStreamReader::EndElement: return Token::End;
            case QXmlStreamReader::StartDocument:
            case QXmlStreamReader::Comment: continue;
            case QXmlStreamReader::Characters:
                if (xml_.isWhitespace()) continue;
                return Stop("text stands where an element belongs");
            case QXmlStreamReader::DTD: return Stop("a document type declaration is not accepted");
            case QXmlStreamReader::Invalid: return Stop(xml_.errorString().toStdString());
            default: return Stop("unexpected content");
            }
        }
        return Stop(xml_.hasError() ? xml_.errorString().toStdString() : "the document ends early");
    }

    bool Open(const char* name) {
        if (Next() != Token::Start) return Failed();
        if (xml_.name() != QLatin1String(name)) return Fail(std::string("<") + name + "> was expected");
        return true;
    }
    bool Close() { return Next() == Token::End || Failed(); }

    bool ElementText(std::string& text) {
        const QString read = xml_.readElementText(QXmlStreamReader::ErrorOnUnexpectedElement);
        if (xml_.hasError()) return Fail(xml_.errorString().toStdString());
        text = read.toStdString();
        return true;
    }

    // The value whose <value> has just opened, up to and with its </value>.
    bool Value(RpcValue& out, int depth) {
        if (depth > kMaxRpcDepth) return Fail("values are nested too deep");
        QString untyped;
        while (!xml_.atEnd()) {
            const QXmlStreamReader::TokenType token = xml_.readNext();
            if (token == QXmlStreamReader::Characters) {
                untyped += xml_.text();
            } else if (token == QXmlStreamReader::Comment) {
                continue;
            } else if (token == QXmlStreamReader::EndElement) {
                out = untyped.toStdString();
                return true;
            } else if (token == QXmlStreamReader::StartElement) {
                if (!untyped.trimmed().isEmpty()) return Fail("text stands beside a typed value");
                return Typed(out, depth) && Close();
            } else {
                return Fail(xml_.hasError() ? xml_.errorString().toStdString() : "a value is cut short");
            }
        }
        return Fail(xml_.hasError() ? xml_.errorString().toStdString() : "a value is cut short");
    }

    bool Call(RpcCall& call) {
        if (!Open("methodCall") || !Open("methodName") || !ElementText(call.method)) return false;
        if (call.method.empty()) return Fail("the method name is empty");
        Token token = Next();
        if (token == Token::Start) {
            if (xml_.name() != QLatin1String("params")) return Fail("<params> was expected");
            if (!Params(call.params)) return false;
            token = Next();
        }
        return (token == Token::End || Failed()) && End();
    }

    bool Response(RpcResponse& response) {
        if (!Open("methodResponse")) return false;
        if (Next() != Token::Start) return Failed();
        if (xml_.name() == QLatin1String("params")) {
            RpcList params;
            if (!Params(params)) return false;
            if (params.size() != 1) return Fail("a response holds one value");
            response.value = std::move(params.front());
        } else if (xml_.name() == QLatin1String("fault")) {
            RpcValue fault;
            if (!Open("value") || !Value(fault, 1) || !Close()) return false;
            const RpcValue* code = fault.member("faultCode");
            const RpcValue* text = fault.member("faultString");
            if (!code || !text) return Fail("a fault lacks its code or text");
            response.fault = true;
            response.faultCode = std::atoi(code->text().c_str());
            response.faultText = text->text();
        } else {
            return Fail("<params> or <fault> was expected");
        }
        return Close() && End();
    }

    const std::string& error() const { return error_; }

private:
    bool Typed(RpcValue& out, int depth) {
        const QStringView type = xml_.name();
        static const char* const scalars[] = {"string", "i4", "int", "boolean", "double", "dateTime.iso8601",
                                              "base64", "i8", "nil"};
        for (const char* scalar : scalars) {
            if (type == QLatin1String(scalar)) {
                std::string text;
                if (!ElementText(text)) return false;
                out = std::move(text);
                return true;
            }
        }
        if (type == QLatin1String("array")) {
            RpcList list;
            if (!Open("data")) return false;
            for (Token token = Next(); token != Token::End; token = Next()) {
                if (token == Token::Failed) return false;
                if (xml_.name() != QLatin1String("value")) return Fail("<value> was expected in an array");
                list.emplace_back();
                if (!Value(list.back(), depth + 1)) return false;
            }
            out = std::move(list);
            return Close();
        }
        if (type == QLatin1String("struct")) {
            RpcMap map;
            for (Token token = Next(); token != Token::End; token = Next()) {
                if (token == Token::Failed) return false;
                if (xml_.name() != QLatin1String("member")) return Fail("<member> was expected in a struct");
                std::string name;
                RpcValue value;
                if (!Open("name") || !ElementText(name) || !Open("value") || !Value(value, depth + 1) || !Close())
                    return false;
                map.emplace_back(std::move(name), std::move(value));
            }
            out = std::move(map);
            return true;
        }
        return Fail("unknown value type <" + type.toString().toStdString() + ">");
    }

    // The parameters whose <params> has just opened, up to and with its </params>.
    bool Params(RpcList& params) {
        for (Token token = Next(); token != Token::End; token = Next()) {
            if (token == Token::Failed) return false;
            if (xml_.name() != QLatin1String("param")) return Fail("<param> was expected");
            params.emplace_back();
            if (!Open("value") || !Value(params.back(), 1) || !Close()) return false;
        }
        return true;
    }

    // Nothing but whitespace and comments after the document's element.
    bool End() {
        while (!xml_.atEnd()) {
            const QXmlStreamReader::TokenType token = xml_.readNext();
            if (token == QXmlStreamReader::EndDocument) return true;
            if (token == QXmlStreamReader::Comment) continue;
            if (token == QXmlStreamReader::Characters && xml_.isWhitespace()) continue;
            return Fail(xml_.hasError() ? xml_.errorString().toStdString() : "content follows the document");
        }
        return !xml_.hasError() || Fail(xml_.errorString().toStdString());
    }

    bool Fail(std::string reason) {
        if (error_.empty()) error_ = std::move(reason);
        return false;
    }
    Token Stop(std::string reason) {
        Fail(std::move(reason));
        return Token::Failed;
    }
    bool Failed() { return Fail("the document is malformed"); }

    QByteArray bytes_;
    QXmlStreamReader xml_;
    std::string error_;
};

// Characters XML 1.0 cannot hold are left out of written texts.
QString XmlText(const std::string& text) {
    QString out = QString::fromStdString(text);
    out.removeIf([](QChar c) { return c.unicode() < 0x20 && c != '\t' && c != '\n' && c != '\r'; });
    out.removeIf([](QChar c) { return c.unicode() == 0xFFFE || c.unicode() == 0xFFFF; });
    return out;
}

// A text element; a carriage return is written as a reference, since a reader turns a written one into a line feed.
void WriteTextElement(QXmlStreamWriter& xml, const QString& name, const std::string& text) {
    xml.writeStartElement(name);
    const QStringList parts = XmlText(text).split('\r');
    for (qsizetype k = 0; k < parts.size(); ++k) {
        if (k > 0) xml.writeEntityReference("#13");
        xml.writeCharacters(parts[k]);
    }
    xml.writeEndElement();
}

void WriteValue(QXmlStreamWriter& xml, const RpcValue& value) {
    xml.writeStartElement("value");
    if (const RpcList* list = value.list()) {
        xml.writeStartElement("array");
        xml.writeStartElement("data");
        for (const RpcValue& item : *list) WriteValue(xml, item);
        xml.writeEndElement();
        xml.writeEndElement();
    } else if (const RpcMap* map = value.map()) {
        xml.writeStartElement("struct");
        for (const auto& [name, item] : *map) {
            xml.writeStartElement("member");
            WriteTextElement(xml, "name", name);
            WriteValue(xml, item);
            xml.writeEndElement();
        }
        xml.writeEndElement();
    } else {
        WriteTextElement(xml, "string", value.text());
    }
    xml.writeEndElement();
}

template <typename Body>
std::string Document(Body body) {
    QByteArray bytes;
    QXmlStreamWriter xml(&bytes);
    xml.writeStartDocument();
    body(xml);
    xml.writeEndDocument();
    return bytes.toStdString();
}

}  // namespace

RpcParsed<RpcCall> ParseRpcCall(std::string_view xml) {
    RpcParsed<RpcCall> parsed;
    RpcReader reader(xml);
    if (!reader.Call(parsed.result)) parsed = {{}, reader.error()};
    return parsed;
}

RpcParsed<RpcResponse> ParseRpcResponse(std::string_view xml) {
    RpcParsed<RpcResponse> parsed;
    RpcReader reader(xml);
    if (!reader.Response(parsed.result)) parsed = {{}, reader.error()};
    return parsed;
}

std::string RpcCallText(const RpcCall& call) {
    return Document([&](QXmlStreamWriter& xml) {
        xml.writeStartElement("methodCall");
        WriteTextElement(xml, "methodName", call.method);
        xml.writeStartElement("params");
        for (const RpcValue& param : call.params) {
            xml.writeStartElement("param");
            WriteValue(xml, param);
            xml.writeEndElement();
        }
        xml.writeEndElement();
        xml.writeEndElement();
    });
}

std::string RpcResponseText(const RpcValue& value) {
    return Document([&](QXmlStreamWriter& xml) {
        xml.writeStartElement("methodResponse");
        xml.writeStartElement("params");
        xml.writeStartElement("param");
        WriteValue(xml, value);
        xml.writeEndElement();
        xml.writeEndElement();
        xml.writeEndElement();
    });
}

std::string RpcFaultText(int code, const std::string& text) {
    return Document([&](QXmlStreamWriter& xml) {
        xml.writeStartElement("methodResponse");
        xml.writeStartElement("fault");
        xml.writeStartElement("value");
        xml.writeStartElement("struct");
        xml.writeStartElement("member");
        xml.writeTextElement("name", "faultCode");
        xml.writeStartElement("value");
        xml.writeTextElement("int", QString::number(code));
        xml.writeEndElement();
        xml.writeEndElement();
        xml.writeStartElement("member");
        xml.writeTextElement("name", "faultString");
        xml.writeStartElement("value");
        WriteTextElement(xml, "string", text);
        xml.writeEndElement();
        xml.writeEndElement();
        xml.writeEndElement();
        xml.writeEndElement();
        xml.writeEndElement();
        xml.writeEndElement();
    });
}

}  // namespace wendrel
