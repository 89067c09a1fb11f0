# shellcheck shell=bash
# Sourced by the scripts that run the signed programs under Wine. Wine 8 takes
# its trusted roots from the host's CA bundle, which every process reads
# anew, and not from the prefix's "Root" stores (a root added there leaves
# its chains partial). So the build's test root is trusted by bind-mounting
# a bundle that holds it over the host's, in a private mount namespace that
# nothing outside shares.
HOST_CA_BUNDLE=/etc/ssl/certs/ca-certificates.crt

# enter_trust_namespace SCRIPT ARGS...: as root, runs SCRIPT again in a
# private mount namespace; returns when already in one, or when not root.
enter_trust_namespace() {
  [ -n "${TRUST_NAMESPACE:-}" ] || [ "$(id -u)" -ne 0 ] && return 0
  exec unshare --mount env TRUST_NAMESPACE=1 bash "$@"
}

# trust_test_root BUILD: BUILD/trust/ca-bundle.crt, the host's roots and
# BUILD/signing/test-root.crt, becomes the bundle Wine reads. A test may add
# the roots it makes to that file. Without the namespace, it says why and
# changes nothing: a signed bootfetch then refuses the test-signed packages.
trust_test_root() {
  local build=$1 bundle="$1/trust/ca-bundle.crt"
  if [ -z "${TRUST_NAMESPACE:-}" ] || [ ! -f "$HOST_CA_BUNDLE" ]; then
    echo "[trust] no private mount namespace (not root) or no $HOST_CA_BUNDLE:" \
      "the test root stays untrusted under Wine" >&2
    return 0
  fi
  mkdir -p "$build/trust"
  cat "$HOST_CA_BUNDLE" "$build/signing/test-root.crt" >"$bundle.new" && mv "$bundle.new" "$bundle"
  mount --bind "$bundle" "$HOST_CA_BUNDLE"
}
