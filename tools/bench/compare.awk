# Medians over the rounds of the bench programs' report lines, and the second program's figure over
# the first one's:   awk -v first=NAME -v second=NAME -f tools/bench/compare.awk RESULTS
function median(list,   n, a, i, j, t) {
    n = split(list, a, " ")
    for (i = 2; i <= n; ++i) for (j = i; j > 1 && a[j - 1] + 0 > a[j] + 0; --j) { t = a[j]; a[j] = a[j - 1]; a[j - 1] = t }
    return n % 2 ? a[(n + 1) / 2] : (a[n / 2] + a[n / 2 + 1]) / 2
}
$2 == "startup_ms" { figure["startup_ms", $1] = figure["startup_ms", $1] " " $3; figure["peak_kib", $1] = figure["peak_kib", $1] " " $5 }
$2 == "frame_us" { figure["frame_median_us", $1] = figure["frame_median_us", $1] " " $4 }
END {
    split("startup_ms peak_kib frame_median_us", names, " ")
    for (k = 1; k <= 3; ++k) {
        a = median(figure[names[k], first]); b = median(figure[names[k], second])
        printf "median %-16s %s %10.1f  %s %10.1f  %s/%s %.3f\n", names[k], first, a, second, b, second, first, b / a
    }
}
