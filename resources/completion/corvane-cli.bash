# bash completion for corvane-cli                          -*- shell-script -*-
# Self-contained: works with or without the bash-completion package.

_corvane_cli_tags="LMAX KTIM STUP CPRO LPRO LAYO BRIG COL0 COL1 MIRR SCFG MCHN MCNT
MXOR MBEG 1CFG 2CFG 3CFG 4CFG 5CFG 6CFG"
_corvane_cli_fields="capacity keys.bootloader_ms keys.pc_disk_ms startup.red startup.green
startup.blue startup.length_ms com.protocol led.protocol layout.type brightness_percent
channel1.color_order channel2.color_order channel3.color_order channel4.color_order
channel5.color_order channel6.color_order channel7.color_order channel8.color_order
stripe.mirror matrix.mirror_x matrix.mirror_y stripe.leds_per_channel stripe.channels
matrix.modules_x matrix.modules_y matrix.module_leds_x matrix.module_leds_y
matrix.led_order matrix.first_led ws2811.period ws2811.t0h ws2811.t1h apa106.period
apa106.t0h apa106.t1h ws2821.bit_width ws2801.clock apa102.clock lpd8803.clock"

# The names a list field takes as its value.
_corvane_cli_items()
{
    case $1 in
        com.protocol) echo tpm2 glediator ;;
        led.protocol) echo ws2811 apa106 ws2821 ws2801 apa102 lpd8803 ;;
        layout.type) echo stripe matrix ;;
        channel[1-8].color_order) echo rgb rbg bgr brg gbr grb ;;
        stripe.mirror | matrix.mirror_x | matrix.mirror_y) echo off on ;;
        matrix.led_order) echo linewise snake_lines columnwise snake_columns ;;
        matrix.first_led) echo top_left top_right bottom_left bottom_right ;;
        ws2801.clock | apa102.clock | lpd8803.clock)
            echo 24mbit 12mbit 6mbit 3mbit 1.5mbit 750kbit 375kbit 187.5kbit ;;
    esac
}

_corvane_cli()
{
    # Split the line ourselves: bash breaks words at "=" and ":", which
    # would cut "--simulate-state=FILE" and "BRIG=100" apart.
    local line=${COMP_LINE:0:COMP_POINT}
    local -a words
    read -ra words <<<"$line"
    if [[ ${#words[@]} -eq 0 || $line == *[[:space:]] ]]; then
        words+=("")
    fi
    local cur=${words[-1]} prev=""
    [[ ${#words[@]} -gt 1 ]] && prev=${words[-2]}

    # The command is the first word that is neither an option nor its value;
    # the simulation options are kept to list the matching serial numbers.
    local i w command="" after=0
    local -a simulation=()
    for ((i = 1; i < ${#words[@]} - 1; i++)); do
        w=${words[i]}
        if [[ -n $command ]]; then
            after=$((after + 1))
            continue
        fi
        case $w in
            --device | --simulate-faults) i=$((i + 1)) ;;
            --simulate-state) simulation+=("$w" "${words[i + 1]}"); i=$((i + 1)) ;;
            --simulate | --simulate=* | --simulate-state=*) simulation+=("$w") ;;
            -*) ;;
            *) command=$w ;;
        esac
    done

    local value=$cur wordlist="" mode=words
    case $prev in
        --device) mode=serials ;;
        --simulate-state | --apply) mode=files ;;
        --simulate-faults) mode=none ;;
        *)
            if [[ $cur == --device=* ]]; then
                mode=serials value=${cur#--device=}
            elif [[ $cur == --simulate-state=* ]]; then
                mode=files value=${cur#--simulate-state=}
            elif [[ $cur == -* ]]; then
                wordlist="--device --all --simulate --simulate-state --simulate-faults
                    --trace --verbose --json --raw --help"
                [[ -z $command ]] && wordlist+=" --version"
                [[ $command == get ]] && wordlist+=" --fields"
                [[ $command == set || $command == load-profile ]] && wordlist+=" --dry-run"
                [[ $command == watch ]] && wordlist+=" --apply"
            elif [[ -z $command ]]; then
                wordlist="list info get set describe save-profile load-profile
                    restart test-pattern reset-defaults watch"
            else
                case $command in
                    get) wordlist="$_corvane_cli_tags $_corvane_cli_fields" ;;
                    set)
                        if [[ $cur == *=* ]]; then
                            mode=values value=${cur#*=}
                            wordlist=$(_corvane_cli_items "${cur%%=*}")
                        else
                            # Everything but the read-only capacity, each with its "=".
                            wordlist=" $_corvane_cli_tags $_corvane_cli_fields "
                            wordlist=${wordlist/ LMAX / }
                            wordlist=${wordlist/ capacity / }
                            mode=assignments
                        fi
                        ;;
                    save-profile | load-profile) [[ $after -eq 0 ]] && mode=files || mode=none ;;
                    *) mode=none ;;
                esac
            fi
            ;;
    esac

    local -a reply=()
    case $mode in
        words) mapfile -t reply < <(compgen -W "$wordlist" -- "$cur") ;;
        values) mapfile -t reply < <(compgen -W "$wordlist" -- "$value") ;;
        assignments)
            mapfile -t reply < <(compgen -S = -W "$wordlist" -- "$cur")
            compopt -o nospace 2>/dev/null
            ;;
        serials)
            mapfile -t reply < <(compgen -W "$("${words[0]}" "${simulation[@]}" list 2>/dev/null |
                cut -d' ' -f1)" -- "$value")
            ;;
        files)
            compopt -o filenames 2>/dev/null
            mapfile -t reply < <(compgen -f -- "$value")
            ;;
    esac
    # Bash replaces only the part of the word after its last "=" or ":".
    [[ $mode == serials || $mode == files || $mode == values ]] && cur=$value
    local head=${cur%"${cur##*[=:]}"}
    COMPREPLY=("${reply[@]#"$head"}")
}
complete -F _corvane_cli corvane-cli
