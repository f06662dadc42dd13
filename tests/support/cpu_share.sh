# Sourced by the idle benchmarks: how much processor time a process takes.
# Nanoseconds from each thread's schedstat, because clock-tick counts are too
# coarse for shares under one per cent of a core.

# Time on a processor of every thread of process $1 so far, in nanoseconds.
# Fails when the process is gone, so that a dead program never reads as idle.
cpu_ns() {
  local total=0 stat ns _
  [ -d "/proc/$1/task" ] || { echo "process $1 is gone" >&2; return 1; }
  for stat in /proc/"$1"/task/*/schedstat; do
    read -r ns _ <"$stat" 2>/dev/null || continue
    total=$((total + ns))
  done
  echo "$total"
}

# cpu_share NANOSECONDS SECONDS: the share of one core, as "0.66 %".
cpu_share() { awk -v t="$1" -v s="$2" 'BEGIN { printf "%.2f %%", 100 * t / 1e9 / s }'; }

# Where the measurement ran: on one core, every process of it shares that
# core's cache and no wake-up has to cross to another core. On a small virtual
# machine those crossings cost more than the work and vary from run to run.
cpu_placement() {
  if [ "$(nproc)" = 1 ]; then echo "all on one core"; else echo "on $(nproc) cores"; fi
}
