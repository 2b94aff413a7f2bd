#include "VectorPath.h"

#include <cctype>
#include <cstdlib>
#include <string>

namespace {

class PathReader {
public:
    explicit PathReader(std::string_view data) : m_data(data) {}

    bool Run(QPainterPath& path, std::string& error);

private:
    void SkipSeparators()
    {
        while (m_pos < m_data.size() &&
               (std::isspace(static_cast<unsigned char>(m_data[m_pos])) || m_data[m_pos] == ','))
            ++m_pos;
    }
    bool AtNumber()
    {
        SkipSeparators();
        if (m_pos >= m_data.size())
            return false;
        const char c = m_data[m_pos];
        return std::isdigit(static_cast<unsigned char>(c)) || c == '-' || c == '+' || c == '.';
    }
    bool Number(double& value)
    {
        if (!AtNumber())
            return false;
        const std::string rest(m_data.substr(m_pos, 64));
        char* end = nullptr;
        value = std::strtod(rest.c_str(), &end);
        if (end == rest.c_str())
            return false;
        m_pos += static_cast<size_t>(end - rest.c_str());
        return true;
    }
    bool Point(QPointF& point, bool relative)
    {
        double x = 0;
        double y = 0;
        if (!Number(x) || !Number(y))
            return false;
        point = relative ? m_current + QPointF(x, y) : QPointF(x, y);
        return true;
    }
    bool Segment(char command, QPainterPath& path);

    std::string_view m_data;
    size_t m_pos = 0;
    QPointF m_current;
    QPointF m_start;
    QPointF m_lastControl;
    char m_lastCommand = 0;
};

bool PathReader::Segment(char command, QPainterPath& path)
{
    const bool relative = std::islower(static_cast<unsigned char>(command));
    const char upper = static_cast<char>(std::toupper(static_cast<unsigned char>(command)));
    const bool smoothCubic = m_lastCommand == 'C' || m_lastCommand == 'S';
    const bool smoothQuad = m_lastCommand == 'Q' || m_lastCommand == 'T';
    QPointF a;
    QPointF b;
    QPointF c;
    double value = 0;
    switch (upper) {
    case 'M':
        if (!Point(a, relative))
            return false;
        path.moveTo(a);
        m_start = m_current = a;
        break;
    case 'L':
        if (!Point(a, relative))
            return false;
        path.lineTo(a);
        m_current = a;
        break;
    case 'H':
        if (!Number(value))
            return false;
        m_current.setX(relative ? m_current.x() + value : value);
        path.lineTo(m_current);
        break;
    case 'V':
        if (!Number(value))
            return false;
        m_current.setY(relative ? m_current.y() + value : value);
        path.lineTo(m_current);
        break;
    case 'C':
        if (!Point(a, relative) || !Point(b, relative) || !Point(c, relative))
            return false;
        path.cubicTo(a, b, c);
        m_lastControl = b;
        m_current = c;
        break;
    case 'S':
        a = smoothCubic ? 2 * m_current - m_lastControl : m_current;
        if (!Point(b, relative) || !Point(c, relative))
            return false;
        path.cubicTo(a, b, c);
        m_lastControl = b;
        m_current = c;
        break;
    case 'Q':
        if (!Point(a, relative) || !Point(b, relative))
            return false;
        path.quadTo(a, b);
        m_lastControl = a;
        m_current = b;
        break;
    case 'T':
        a = smoothQuad ? 2 * m_current - m_lastControl : m_current;
        if (!Point(b, relative))
            return false;
        path.quadTo(a, b);
        m_lastControl = a;
        m_current = b;
        break;
    default: return false;
    }
    m_lastCommand = upper;
    return true;
}

bool PathReader::Run(QPainterPath& path, std::string& error)
{
    char command = 0;
    while (true) {
        SkipSeparators();
        if (m_pos >= m_data.size())
            return true;
        const char c = m_data[m_pos];
        if (std::isalpha(static_cast<unsigned char>(c))) {
            ++m_pos;
            if (c == 'Z' || c == 'z') {
                path.closeSubpath();
                m_current = m_start;
                m_lastCommand = 'Z';
                command = 0;
                continue;
            }
            if (std::string_view("MLHVCSQTmlhvcsqt").find(c) == std::string_view::npos) {
                error = std::string("the path command \"") + c + "\" is not supported (use M L H V C S Q T Z)";
                return false;
            }
            command = c;
        } else if (command == 0) {
            error = "the path must begin with a command letter, found \"" + std::string(1, c) + "\"";
            return false;
        }
        if (!Segment(command, path)) {
            error = std::string("the command \"") + command + "\" lacks numbers near position " + std::to_string(m_pos);
            return false;
        }
        // Coordinates after a move continue as lines, as SVG has it.
        if (command == 'M')
            command = 'L';
        else if (command == 'm')
            command = 'l';
    }
}

} // namespace

bool VectorPath::Parse(std::string_view data, QPainterPath& path, std::string& error)
{
    path = QPainterPath();
    return PathReader(data).Run(path, error);
}
