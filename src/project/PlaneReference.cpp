#include "project/PlaneReference.h"

#include "project/CzechNumber.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>

namespace {

// Marks closer than this (pixels) to each other, or to the line through two others,
// give no shape.
constexpr double MinSpan = 1.0;
// The depth w may vary across the photograph at most by this factor: beyond it the
// plane is seen nearly edge-on, a pixel's area grows by its cube and the vanishing
// line is within a few percent of the photograph.
constexpr double MinDepthRatio = 0.02;

double Cross(QPointF a, QPointF b) {
    return a.x() * b.y() - a.y() * b.x();
}

double Length(QPointF v) {
    return std::hypot(v.x(), v.y());
}

void CheckLength(double metres) {
    if (!(metres > 0) || !std::isfinite(metres))
        throw ReferenceError(QStringLiteral("Délka měřítka musí být větší než nula."));
    if (metres > MaxMetres)
        throw ReferenceError(QStringLiteral("Délka měřítka může být nejvýše %1 m.")
                                 .arg(CzechNumber::Format(MaxMetres, 0)));
}

void CheckInside(const PlaneReference& reference, QSize photo) {
    if (reference.points.size() != reference.PointCount())
        throw ReferenceError(QStringLiteral("Měřítko nemá všechny značky."));
    for (const QPointF& p : reference.points) {
        if (!std::isfinite(p.x()) || !std::isfinite(p.y()) || p.x() < -0.5 || p.y() < -0.5 ||
            p.x() > photo.width() - 0.5 || p.y() > photo.height() - 0.5)
            throw ReferenceError(QStringLiteral("Značka měřítka leží mimo fotografii."));
    }
}

// Metres over pixels along a side of the reference: what one pixel spans there.
void CheckScale(double metres, double pixels) {
    if (metres > MaxMetresPerPixel * pixels)
        throw ReferenceError(
            QStringLiteral("Podle měřítka by jeden bod fotografie měřil víc než %1 m: tak velká "
                           "stavba se na fotografii nevejde. Zkontrolujte délky měřítka a jeho "
                           "značky.")
                .arg(CzechNumber::Format(MaxMetresPerPixel, 0)));
}

// Three corners on a line, or two on one point, give no quadrilateral.
void CheckNoThreeOnALine(const QList<QPointF>& p) {
    for (int skip = 0; skip < 4; ++skip) {
        QPointF t[3];
        int n = 0;
        for (int i = 0; i < 4; ++i) {
            if (i != skip)
                t[n++] = p[i];
        }
        const double longest =
            std::max({Length(t[1] - t[0]), Length(t[2] - t[1]), Length(t[0] - t[2])});
        // Twice the triangle's area over its longest side: its smallest height.
        const double height = std::abs(Cross(t[1] - t[0], t[2] - t[0])) / std::max(longest, 1e-300);
        if (longest < MinSpan || height < MinSpan)
            throw ReferenceError(QStringLiteral(
                "Tři rohy měřítka leží na jedné přímce: obdélník z nich nelze určit."));
    }
}

// A rectangle seen in perspective is a convex quadrilateral: turning the same way
// at every corner.
void CheckConvex(const QList<QPointF>& p) {
    int left = 0;
    for (int i = 0; i < 4; ++i) {
        const QPointF a = p[(i + 1) % 4] - p[i];
        const QPointF b = p[(i + 2) % 4] - p[(i + 1) % 4];
        if (Cross(a, b) > 0)
            ++left;
    }
    if (left == 2)
        throw ReferenceError(
            QStringLiteral("Strany měřítka se kříží: označte rohy obdélníku postupně dokola."));
    if (left != 0 && left != 4)
        throw ReferenceError(QStringLiteral("Rohy měřítka netvoří obdélník viděný v perspektivě: "
                                            "jeden roh leží uvnitř ostatních."));
}

// The rectangle's corners mapped onto (0, 0), (width, 0), (width, height), (0, height).
// The corners are moved to their centroid and scaled to about 1 first, which keeps
// the linear system well conditioned for photographs of any size.
Homography RectanglePlane(const PlaneReference& r) {
    QPointF centre;
    for (const QPointF& p : r.points)
        centre += p / 4.0;
    double spread = 0;
    for (const QPointF& p : r.points)
        spread += Length(p - centre) / 4.0;
    const double k = 1.0 / spread;
    cv::Point2f from[4], to[4];
    const QPointF plane[4] = {{0, 0}, {r.width, 0}, {r.width, r.height}, {0, r.height}};
    for (int i = 0; i < 4; ++i) {
        const QPointF p = (r.points[i] - centre) * k;
        from[i] = cv::Point2f(float(p.x()), float(p.y()));
        to[i] = cv::Point2f(float(plane[i].x()), float(plane[i].y()));
    }
    const cv::Mat n = cv::getPerspectiveTransform(from, to);
    // H = N · T, T the move and scale above.
    const double t[9] = {k, 0, -k * centre.x(), 0, k, -k * centre.y(), 0, 0, 1};
    Homography h;
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 3; ++col) {
            double sum = 0;
            for (int i = 0; i < 3; ++i)
                sum += n.at<double>(row, i) * t[i * 3 + col];
            h.m[row * 3 + col] = sum;
        }
    }
    if (h.W(centre.x(), centre.y()) < 0) {
        for (double& v : h.m)
            v = -v;
    }
    return h;
}

void CheckSeenFromFront(const Homography& h, QSize photo) {
    for (const double v : h.m) {
        if (!std::isfinite(v))
            throw ReferenceError(QStringLiteral(
                "Tři rohy měřítka leží na jedné přímce: obdélník z nich nelze určit."));
    }
    const double x0 = -0.5, y0 = -0.5, x1 = photo.width() - 0.5, y1 = photo.height() - 0.5;
    const double w[4] = {h.W(x0, y0), h.W(x1, y0), h.W(x1, y1), h.W(x0, y1)};
    const double lowest = *std::min_element(w, w + 4), highest = *std::max_element(w, w + 4);
    if (!(lowest > MinDepthRatio * highest))
        throw ReferenceError(QStringLiteral(
            "Rovina měřítka je na fotografii vidět příliš z boku: její úběžnice prochází "
            "fotografií nebo leží těsně u ní. Označte obdélník na rovině viděné víc zepředu."));
}

} // namespace

QPointF Homography::Map(QPointF p) const {
    const double w = W(p.x(), p.y());
    return QPointF((m[0] * p.x() + m[1] * p.y() + m[2]) / w,
                   (m[3] * p.x() + m[4] * p.y() + m[5]) / w);
}

double ParseMetres(const QString& text) {
    QString number = text.trimmed();
    if (number.endsWith(QLatin1Char('m')))
        number.chop(1);
    const std::optional<double> metres = CzechNumber::Parse(number);
    if (!metres)
        throw ReferenceError(
            QStringLiteral("„%1“ není délka v metrech. Zadejte číslo, například 1,25.")
                .arg(text.trimmed()));
    CheckLength(*metres);
    return *metres;
}

Homography PlaneOf(const PlaneReference& reference, QSize photo) {
    CheckInside(reference, photo);
    CheckLength(reference.width);
    const QList<QPointF>& p = reference.points;
    Homography h;
    if (reference.kind == PlaneReference::Kind::Length) {
        const double pixels = Length(p[1] - p[0]);
        if (pixels < MinSpan)
            throw ReferenceError(QStringLiteral("Oba konce úsečky měřítka leží v jednom bodě."));
        CheckScale(reference.width, pixels);
        const double s = reference.width / pixels;
        h.m = {s, 0, 0, 0, s, 0, 0, 0, 1};
        return h;
    }
    CheckLength(reference.height);
    CheckNoThreeOnALine(p);
    CheckConvex(p);
    CheckScale(reference.width, std::min(Length(p[1] - p[0]), Length(p[2] - p[3])));
    CheckScale(reference.height, std::min(Length(p[2] - p[1]), Length(p[3] - p[0])));
    h = RectanglePlane(reference);
    CheckSeenFromFront(h, photo);
    return h;
}

double AreaOf(const Homography& plane, double x0, double y0, double x1, double y1) {
    const QPointF a = plane.Map({x0, y0}), b = plane.Map({x1, y0});
    const QPointF c = plane.Map({x1, y1}), d = plane.Map({x0, y1});
    // Half the cross product of the diagonals: the area of any simple quadrilateral.
    return 0.5 * std::abs(Cross(c - a, d - b));
}
